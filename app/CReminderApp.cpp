#include "CReminderApp.h"

#include "ApplicationName.h"
#include "CMainDialog.h"
#include "QtUserPrompts.h"
#include "SettingsProfileStore.h"
#include "SingleInstance.h"
#include "StartupNotification.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <cstdio>

QString CReminderApp::ApplicationNameFor(const QString& executablePath) {
    return QString::fromStdString(::ApplicationNameFor(QFileInfo(executablePath).fileName().toStdString()));
}

int CReminderApp::InitInstance(const QString& startupId) {
    // The organisation names the store, and so does the executable's base name, so a renamed copy keeps a store of
    // its own. Qt's own choice of that name differs between systems, so it is set here.
    QCoreApplication::setOrganizationName(QString::fromUtf8(kOrganizationName));
    QCoreApplication::setApplicationName(ApplicationNameFor(QCoreApplication::applicationFilePath()));
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    const QString storeFile = SettingsProfileStore::FileNameFor(organization, application);

    QPointer<CMainDialog> window;
    SingleInstance instance(storeFile);
    // Connected before the main window exists: the load shows its error boxes while the window is being built, and
    // a second start must then bring those forward, not be answered and forgotten. A modal window (a box, the
    // editor, a due message) is what the user has to deal with first, so it comes to the front rather than the
    // main window it blocks.
    // The starts that asked end their start-up notification here, with or without a window to raise.
    QObject::connect(&instance, &SingleInstance::activationRequested, [&window](const QStringList& startupIds) {
        if (window)
            window->showNormal();
        QWidget* target = QApplication::activeModalWidget();
        if (!target)
            target = window;
        if (target) {
            StartupNotification::MarkWindow(target, startupIds);
            target->raise();
            target->activateWindow();
        }
        StartupNotification::Complete(target, startupIds);
    });
    switch (instance.Claim()) {
    case SingleInstance::Role::Secondary:
        // The running copy could not be asked to show itself (no session bus, say); starting again is no fault.
        if (!instance.NotifyPrimary(StartupNotification::IsUsableId(startupId) ? startupId : QString())) {
            std::printf("%s is already running for the store %s\n", qPrintable(application),
                        qPrintable(QDir::toNativeSeparators(storeFile)));
        }
        return 0;
    case SingleInstance::Role::Primary:
        // Nobody else saves this store now, so what a copy killed in the middle of a save left can go before the
        // first save.
        SettingsProfileStore::ClearLeftovers(storeFile);
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
    window = &dialog;
    prompts.SetOwner(&dialog);
    dialog.DoModal();
    return 0;
}
