#include "CReminderApp.h"

#include "CMainDialog.h"
#include "QtUserPrompts.h"
#include "SettingsProfileStore.h"
#include "SingleInstance.h"

#include <QApplication>

int CReminderApp::InitInstance() {
    // The organisation names the store; the application name stays the executable's base name, so a renamed copy
    // keeps a store of its own.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    SettingsProfileStore store(QCoreApplication::organizationName(), QCoreApplication::applicationName());

    SingleInstance instance(store.FileName());
    if (instance.Claim() == SingleInstance::Role::Secondary) {
        instance.NotifyPrimary();
        return 0;
    }

    QtUserPrompts prompts;
    ReminderServices services;
    services.store = &store;
    services.prompts = &prompts;
    CMainDialog dialog(services);
    prompts.SetOwner(&dialog);
    QObject::connect(&instance, &SingleInstance::activationRequested, &dialog, [&dialog] {
        dialog.showNormal();
        dialog.raise();
        dialog.activateWindow();
    });
    dialog.DoModal();
    return 0;
}
