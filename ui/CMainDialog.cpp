#include "CMainDialog.h"

#include "AppIcon.h"
#include "CAboutDialog.h"
#include "CEditMessageDialog.h"
#include "CShowMessageDialog.h"
#include "MessageList.h"
#include "MessageValidation.h"
#include "ToolTipGate.h"
#include "UserPrompts.h"
#include "WindowCentering.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

namespace {
constexpr int LIST_TAB_STOP = 230; // dialog units

enum ControlIds {
    IDC_ACTIVATE_MESSAGES = 1002,
    IDC_MESSAGE_LIST = 1005,
    IDC_ADD_MESSAGE = 1006,
    IDC_DELETE_MARKED = 1007,
    IDC_CLEAR_ALL = 1008,
    IDC_LIST_LABEL = 1012,
    IDC_MINIMIZE = 1013,
    IDC_SHOW_TOOLTIPS = 1031,
    IDC_COPY_MARKED = 1032,
    IDC_EDIT_MARKED = 1033,
    IDC_CONFIRM_DELETIONS = 1034,
    IDC_ABOUT = 1035,
    IDC_SHOW_MINIMIZED = 1037,
};

QString LineText(const MessageEntry& entry) { return QString::fromStdString(CMainDialog::FormatListLine(entry)); }
} // namespace

CMainDialog::CMainDialog(const ReminderServices& services, QWidget* parent)
    : QDialog(parent), ReminderState(services), m_built(BuildDialog(this, MainDialogTemplate())) {
    BindControls();
    m_hIcon = AppIcon();
    AllocateTable();
    LoadAll();
    m_schedulerTimer.setInterval(SCHEDULER_PERIOD_MS);
    // Queued: the toolkit does not fire a timer again while its own timeout is still being handled, and a display
    // window runs its event loop inside that handling. Ticks must go on meanwhile, so the handler runs as a
    // posted call and the timer's firing has ended when the display opens.
    connect(
        &m_schedulerTimer, &QTimer::timeout, this, [this] { OnTimer(SCHEDULER_TIMER_ID); }, Qt::QueuedConnection);
    ConnectHandlers();
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::BindControls() {
    m_ctlShowMinimized = m_built.Get<QCheckBox>(IDC_SHOW_MINIMIZED);
    m_ctlConfirmDeletions = m_built.Get<QCheckBox>(IDC_CONFIRM_DELETIONS);
    m_ctlEditMarked = m_built.Get<QPushButton>(IDC_EDIT_MARKED);
    m_ctlCopyMarked = m_built.Get<QPushButton>(IDC_COPY_MARKED);
    m_ctlMinimize = m_built.Get<QPushButton>(IDC_MINIMIZE);
    m_ctlShowTooltips = m_built.Get<QCheckBox>(IDC_SHOW_TOOLTIPS);
    m_ctlClearAll = m_built.Get<QPushButton>(IDC_CLEAR_ALL);
    m_ctlListLabel = m_built.Get<QLabel>(IDC_LIST_LABEL);
    m_ctlAddMessage = m_built.Get<QPushButton>(IDC_ADD_MESSAGE);
    m_ctlDeleteMarked = m_built.Get<QPushButton>(IDC_DELETE_MARKED);
    m_ctlMessageList = m_built.Get<QListWidget>(IDC_MESSAGE_LIST);
    m_ctlActivateMessages = m_built.Get<QCheckBox>(IDC_ACTIVATE_MESSAGES);
    m_ctlMessageList->setAccessibleName(m_ctlListLabel->text());
    m_ctlListLabel->setBuddy(m_ctlMessageList);
}

void CMainDialog::ConnectHandlers() {
    // The option boxes answer every change of their mark (a click, Space, an accessibility tool's toggle), not
    // only clicks, so that no way of changing a mark goes past its handler.
    connect(m_ctlAddMessage, &QPushButton::clicked, this, &CMainDialog::OnAddMessage);
    connect(m_ctlDeleteMarked, &QPushButton::clicked, this, &CMainDialog::OnDeleteMarked);
    connect(m_ctlActivateMessages, &QCheckBox::toggled, this, &CMainDialog::OnActivateMessages);
    connect(m_ctlMessageList, &QListWidget::itemDoubleClicked, this, &CMainDialog::OnEditMarked);
    connect(m_ctlClearAll, &QPushButton::clicked, this, &CMainDialog::OnClearAll);
    connect(m_ctlMessageList, &QListWidget::itemSelectionChanged, this, &CMainDialog::OnListSelChange);
    connect(m_ctlMinimize, &QPushButton::clicked, this, &CMainDialog::OnMinimize);
    connect(m_ctlShowTooltips, &QCheckBox::toggled, this, &CMainDialog::OnShowTooltips);
    connect(m_ctlCopyMarked, &QPushButton::clicked, this, &CMainDialog::OnCopyMarked);
    connect(m_ctlEditMarked, &QPushButton::clicked, this, &CMainDialog::OnEditMarked);
    connect(m_ctlConfirmDeletions, &QCheckBox::toggled, this, &CMainDialog::OnConfirmDeletions);
    connect(m_built.Get<QPushButton>(IDC_ABOUT), &QPushButton::clicked, this, &CMainDialog::OnAbout);
    connect(m_ctlShowMinimized, &QCheckBox::toggled, this, &CMainDialog::OnShowMinimizedOnStart);
    connect(m_built.Get<QPushButton>(DialogIds::kOk), &QPushButton::clicked, this, &QDialog::accept);
}

int CMainDialog::DoModal() {
    OnInitDialog();
    return exec();
}

void CMainDialog::OnInitDialog() {
    CenterWindow(this, nullptr);
    m_schedulerTimer.stop();
    m_schedulerTimer.start();
    setWindowIcon(m_hIcon);

    const int tabStop = DialogUnitsToPixels(QSize(LIST_TAB_STOP, 0), m_built.Units()).width();
    m_ctlMessageList->setItemDelegate(new MessageListDelegate(tabStop, m_ctlMessageList));
    // Filled unsorted and sorted once: a sorted list sorts itself anew after every line it is given.
    m_ctlMessageList->setSortingEnabled(false);
    m_ctlMessageList->clear();
    if (!m_bGlobalError) {
        for (int i = 0; i < m_nMessageCount; ++i)
            AddListLine(m_pMessages[i]);
    }
    m_ctlMessageList->sortItems();
    m_ctlMessageList->setSortingEnabled(true);

    ShowListControls(m_bMessagesActivated != 0);
    // Setting the marks from the flags is not a change by the user: no handler runs for it.
    const QSignalBlocker blockActivate(m_ctlActivateMessages);
    const QSignalBlocker blockConfirm(m_ctlConfirmDeletions);
    const QSignalBlocker blockMinimized(m_ctlShowMinimized);
    const QSignalBlocker blockTooltips(m_ctlShowTooltips);
    m_ctlActivateMessages->setChecked(m_bMessagesActivated != 0);
    m_ctlConfirmDeletions->setChecked(m_bShowWarnings != 0);
    m_ctlShowMinimized->setChecked(m_bShowMinimized != 0);
    UpdateButtons();

    if (!m_ctlToolTip) {
        m_ctlToolTip = new ToolTipGate(this);
        m_ctlToolTip->SetActive(true);
        AddTooltips();
    }
    m_ctlShowTooltips->setChecked(m_bTooltips != 0);
    m_ctlToolTip->SetActive(m_bTooltips != 0);

    if (m_bShowMinimized)
        setWindowState(windowState() | Qt::WindowMinimized);
}

void CMainDialog::AddTooltips() {
    const std::pair<int, const char*> tools[] = {
        {IDC_ADD_MESSAGE, "Add new message"},
        {IDC_EDIT_MARKED, "Edit marked message"},
        {IDC_COPY_MARKED, "Copy marked message parameters to new message"},
        {IDC_DELETE_MARKED, "Delete marked message"},
        {IDC_CLEAR_ALL, "Delete all messages"},
        {IDC_MINIMIZE, "Minimize window (enables message showing)"},
        {IDC_ABOUT, "Show version and author information"},
        {DialogIds::kOk, "Exit application"},
        {IDC_MESSAGE_LIST, "List of current messages"},
        {IDC_ACTIVATE_MESSAGES, "Check to enable messages"},
        {IDC_CONFIRM_DELETIONS, "Check to confirm any deletion of messages"},
        {IDC_SHOW_TOOLTIPS, "Check to enable tooltips"},
    };
    for (const auto& [id, text] : tools)
        m_ctlToolTip->AddTool(m_built.Control(id), QString::fromUtf8(text));
}

bool CMainDialog::TooltipsActive() const { return m_ctlToolTip && m_ctlToolTip->IsActive(); }

std::string CMainDialog::FormatListLine(const MessageEntry& entry) {
    return std::string(entry.m_szName) + (entry.m_bActive ? "\tACTIVE" : "\tINACTIVE");
}

void CMainDialog::AddListLine(const MessageEntry& entry) {
    m_ctlMessageList->addItem(new MessageListItem(LineText(entry), QByteArray(entry.m_szName)));
}

void CMainDialog::DeleteListLine(int row) {
    delete m_ctlMessageList->takeItem(row);
    // The list would otherwise mark the next line; a deleted line leaves nothing marked.
    m_ctlMessageList->setCurrentItem(nullptr);
    m_ctlMessageList->clearSelection();
}

int CMainDialog::MarkedRow() const {
    const QList<QListWidgetItem*> selected = m_ctlMessageList->selectedItems();
    return selected.isEmpty() ? -1 : m_ctlMessageList->row(selected.first());
}

void CMainDialog::UpdateButtons() {
    const bool empty = m_nMessageCount == 0;
    if (empty)
        FocusAddMessage();
    for (QPushButton* button : {m_ctlEditMarked, m_ctlCopyMarked, m_ctlDeleteMarked, m_ctlClearAll})
        button->setEnabled(!empty);
    if (MarkedRow() < 0) {
        FocusAddMessage();
        for (QPushButton* button : {m_ctlEditMarked, m_ctlCopyMarked, m_ctlDeleteMarked})
            button->setEnabled(false);
    } else {
        m_ctlDeleteMarked->setEnabled(true);
    }
}

void CMainDialog::FocusAddMessage() {
    // With messages switched off the list controls are hidden and Add cannot take the focus; the toolkit would hand
    // it to Exit, where the first press of Space ends the program. The option that shows the list takes it instead.
    if (m_ctlAddMessage->isHidden())
        m_ctlActivateMessages->setFocus();
    else
        m_ctlAddMessage->setFocus();
}

void CMainDialog::ShowListControls(bool show) {
    for (QWidget* control : std::initializer_list<QWidget*>{m_ctlListLabel, m_ctlMessageList, m_ctlAddMessage,
                                                            m_ctlEditMarked, m_ctlCopyMarked, m_ctlDeleteMarked,
                                                            m_ctlClearAll})
        control->setVisible(show);
}

void CMainDialog::OnListSelChange() {
    if (!m_bGlobalError)
        UpdateButtons();
}

void CMainDialog::OnActivateMessages() {
    if (m_bGlobalError) {
        ShowErrorBox(StoreTexts::kGlobalError, StoreTexts::kErrorCaption);
        return;
    }
    m_bMessagesActivated = m_bMessagesActivated ? 0 : 1;
    ShowListControls(m_bMessagesActivated != 0);
    SaveAll();
}

void CMainDialog::OnShowTooltips() {
    m_bTooltips = m_bTooltips ? 0 : 1;
    m_ctlToolTip->SetActive(m_bTooltips != 0);
    SaveAll();
}

void CMainDialog::OnConfirmDeletions() {
    m_bShowWarnings = m_bShowWarnings ? 0 : 1;
    SaveAll();
}

void CMainDialog::OnShowMinimizedOnStart() {
    m_bShowMinimized = m_bShowMinimized ? 0 : 1;
    SaveAll();
}

void CMainDialog::OnMinimize() { showMinimized(); }

void CMainDialog::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QRect client = rect();
    const int x = (client.width() - iconSize + 1) / 2;
    const int y = (client.height() - iconSize + 1) / 2;
    m_hIcon.paint(&painter, QRect(x, y, iconSize, iconSize));
}

// The scheduler.

void CMainDialog::OnTimer(unsigned timerId) { RunSchedulerTick(*this, *this, timerId); }

void CMainDialog::ShowDueMessage(MessageEntry* entry) { ::ShowDueMessage(*this, *this, entry); }

bool CMainDialog::IsMainWindowMinimized() { return isVisible() && (windowState() & Qt::WindowMinimized); }

void CMainDialog::RestoreMainWindow() { showNormal(); }

void CMainDialog::MinimizeMainWindow() { showMinimized(); }

void CMainDialog::BringMainWindowToFront() {
    raise();
    activateWindow();
}

void CMainDialog::RunDisplayDialog(MessageEntry* entry) {
    CShowMessageDialog display(entry, [this] { return Now(); }, this);
    display.DoModal();
}

// The list commands.

bool CMainDialog::PassesGlobalErrorCheck() {
    if (!m_bGlobalError)
        return true;
    ShowErrorBox(StoreTexts::kGlobalError, StoreTexts::kErrorCaption);
    return false;
}

int CMainDialog::FindMarkedEntry(int row) const {
    const auto* item = dynamic_cast<const MessageListItem*>(m_ctlMessageList->item(row));
    if (!item)
        return -1;
    return FindEntryByName(item->EntryName().constData());
}

void CMainDialog::ReportInternalError() {
    m_bGlobalError = ShowErrorBox(MainTexts::kInternalError, StoreTexts::kErrorCaption);
}

bool CMainDialog::ValidateMessage(const MessageEntry& entry) {
    if (const auto error = FindValidationError(entry)) {
        ShowErrorBox(*error, StoreTexts::kErrorCaption);
        return false;
    }
    return true;
}

bool CMainDialog::EditAndCheck(MessageEntry& workingCopy, int skipIndex) {
    CEditMessageDialog editor(&workingCopy, m_bTooltips, this);
    if (editor.DoModal() != DialogIds::kOk)
        return false;
    return ValidateMessage(workingCopy) && CheckDistinctName(workingCopy, skipIndex);
}

bool CMainDialog::RefuseWhenFull() {
    if (!IsTableFull())
        return false;
    ShowErrorBox(MainTexts::kListFull, StoreTexts::kErrorCaption);
    return true;
}

void CMainDialog::AddFromWorkingCopy(MessageEntry workingCopy) {
    if (EditAndCheck(workingCopy, -1)) {
        // A nested timer tick cannot add entries, so the slot checked before the editor opened is still free.
        StoreEntry(&m_pMessages[m_nMessageCount], workingCopy);
        m_pMessages[m_nMessageCount].m_bPending = 1;
        AddListLine(m_pMessages[m_nMessageCount]);
        ++m_nMessageCount;
    }
    UpdateButtons();
    SaveAll();
}

void CMainDialog::OnAddMessage() {
    if (!PassesGlobalErrorCheck() || RefuseWhenFull())
        return;
    AddFromWorkingCopy(MakeNewEntry());
}

void CMainDialog::OnCopyMarked() {
    if (!PassesGlobalErrorCheck() || m_nMessageCount == 0)
        return;
    const int row = MarkedRow();
    if (row < 0)
        return;
    const int index = FindMarkedEntry(row);
    if (index < 0) {
        ReportInternalError();
        return;
    }
    if (RefuseWhenFull())
        return;
    MessageEntry workingCopy = m_pMessages[index];
    const MessageEntry fresh = MakeNewEntry();
    std::copy(std::begin(fresh.m_szName), std::end(fresh.m_szName), std::begin(workingCopy.m_szName));
    AddFromWorkingCopy(workingCopy);
}

void CMainDialog::OnEditMarked() {
    if (!PassesGlobalErrorCheck() || m_nMessageCount == 0)
        return;
    const int row = MarkedRow();
    if (row < 0)
        return;
    const int index = FindMarkedEntry(row);
    if (index < 0) {
        ReportInternalError();
        UpdateButtons();
        SaveAll();
        return;
    }
    MessageEntry workingCopy = m_pMessages[index];
    if (EditAndCheck(workingCopy, index)) {
        StoreEntry(&m_pMessages[index], workingCopy);
        DeleteListLine(row);
        m_pMessages[index].m_bPending = 1;
        AddListLine(m_pMessages[index]);
    }
    UpdateButtons();
    SaveAll();
}

void CMainDialog::OnDeleteMarked() {
    if (!PassesGlobalErrorCheck() || m_nMessageCount == 0)
        return;
    const int row = MarkedRow();
    if (row < 0) {
        UpdateButtons();
        SaveAll();
        return;
    }
    const int index = FindMarkedEntry(row);
    if (index < 0) {
        ReportInternalError();
        UpdateButtons();
        SaveAll();
        return;
    }
    if (m_bShowWarnings) {
        Prompts().Beep();
        if (!Prompts().AskYesNo(MainTexts::kConfirmDelete, MainTexts::kWarningCaption)) {
            UpdateButtons();
            SaveAll();
            return;
        }
    }
    DeleteListLine(row);
    RemoveEntry(index);
    UpdateButtons();
    SaveAll();
}

void CMainDialog::OnClearAll() {
    if (!PassesGlobalErrorCheck())
        return;
    if (m_bShowWarnings) {
        Prompts().Beep();
        if (!Prompts().AskYesNo(MainTexts::kConfirmClear, MainTexts::kWarningCaption))
            return;
    }
    m_ctlMessageList->clear();
    ClearEntries();
    UpdateButtons();
    SaveAll();
}

void CMainDialog::OnAbout() {
    CAboutDialog about(this);
    about.DoModal();
}
