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
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    const QString storeFile = SettingsProfileStore::FileNameFor(organization, application);

    SingleInstance instance(storeFile);
    switch (instance.Claim()) {
    case SingleInstance::Role::Secondary:
        instance.NotifyPrimary();
        return 0;
    case SingleInstance::Role::Primary:
        // Nobody else saves this store now, so a lock left by a copy that crashed can go before the first save.
        SettingsProfileStore::RemoveAbandonedWriteLock(storeFile);
        break;
    case SingleInstance::Role::Unguarded:
        break;
    }
    SettingsProfileStore store(organization, application);

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
