#include "CMainDialog.h"

#include "AppIcon.h"
#include "CAboutDialog.h"
#include "CEditMessageDialog.h"
#include "CShowMessageDialog.h"
#include "DesktopHints.h"
#include "MessageList.h"
#include "OptionCheckBoxes.h"
#include "ToolTipGate.h"
#include "WindowCentering.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyle>

CMainDialog::CMainDialog(const ReminderServices& services, QWidget* parent)
    : QDialog(parent), m_model(services), m_built(BuildDialog(this, MainDialogTemplate())),
      m_commands(m_model, *this), m_scheduler(m_model), m_schedulerWindow(*this) {
    BindControls();
    m_hIcon = AppIcon();
    m_commands.OnLoad();
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
    m_ctlEditMarked = m_built.Get<QPushButton>(MainIds::kEditMarked);
    m_ctlCopyMarked = m_built.Get<QPushButton>(MainIds::kCopyMarked);
    m_ctlClearAll = m_built.Get<QPushButton>(MainIds::kClearAll);
    m_ctlListLabel = m_built.Get<QLabel>(MainIds::kListLabel);
    m_ctlAddMessage = m_built.Get<QPushButton>(MainIds::kAddMessage);
    m_ctlDeleteMarked = m_built.Get<QPushButton>(MainIds::kDeleteMarked);
    m_ctlMessageList = m_built.Get<QListView>(MainIds::kMessageList);
    m_ctlActivateMessages = m_built.Get<QCheckBox>(MainIds::kActivateMessages);
    m_lines = new MessageListModel(m_ctlMessageList);
    m_ctlMessageList->setModel(m_lines);
    m_ctlListLabel->setBuddy(m_ctlMessageList);
}

void CMainDialog::ConnectHandlers() {
    connect(m_ctlAddMessage, &QPushButton::clicked, this, [this] { m_commands.OnAddMessage(); });
    connect(m_ctlDeleteMarked, &QPushButton::clicked, this, [this] { m_commands.OnDeleteMarked(); });
    connect(m_ctlMessageList, &QListView::doubleClicked, this, [this] { m_commands.OnEditMarked(); });
    connect(m_ctlClearAll, &QPushButton::clicked, this, [this] { m_commands.OnClearAll(); });
    // The window's own changes to its lines are no selection by the user: the command they belong to brings the
    // buttons up to date once, at its end.
    connect(m_ctlMessageList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_changingLines)
            m_commands.OnListSelChange();
    });
    connect(m_built.Get<QPushButton>(MainIds::kMinimize), &QPushButton::clicked, this, &CMainDialog::OnMinimize);
    connect(m_ctlCopyMarked, &QPushButton::clicked, this, [this] { m_commands.OnCopyMarked(); });
    connect(m_ctlEditMarked, &QPushButton::clicked, this, [this] { m_commands.OnEditMarked(); });
    connect(m_built.Get<QPushButton>(MainIds::kAbout), &QPushButton::clicked, this, &CMainDialog::OnAbout);
    connect(m_built.Get<QPushButton>(MainIds::kExit), &QPushButton::clicked, this, &QDialog::accept);
    // The option boxes answer every change of their mark (a click, Space, an accessibility tool's toggle), not
    // only clicks, so that no way of changing a mark goes past the command.
    for (const OptionCheckBox& box : kOptionCheckBoxes) {
        connect(m_built.Get<QCheckBox>(box.checkBoxId), &QCheckBox::toggled, this,
                [this, option = box.option] { m_commands.OnOptionClicked(option); });
    }
}

int CMainDialog::DoModal() {
    OnInitDialog();
    return exec();
}

void CMainDialog::OnInitDialog() {
    CenterWindow(this, nullptr);
    m_commands.OnOpen();
}

void CMainDialog::SetIconsAndTabStops() {
    setWindowIcon(m_hIcon);
    // A minimized window is known to the desktop by its icon text; screen readers list it under that name.
    setWindowIconText(windowTitle());
    if (!qobject_cast<MessageListDelegate*>(m_ctlMessageList->itemDelegate())) {
        const int tabStop = DialogUnitsToPixels(QSize(MainIds::kListTabStop, 0), m_built.Units()).width();
        m_ctlMessageList->setItemDelegate(
            new MessageListDelegate(tabStop, m_ctlMessageList->font(), m_ctlMessageList));
    }
}

void CMainDialog::CreateTooltips() {
    if (m_ctlToolTip)
        return;
    m_ctlToolTip = new ToolTipGate(this);
    m_ctlToolTip->SetActive(true);
    for (const ToolTipRow& tool : MainDialogTemplate().tooltips)
        m_ctlToolTip->AddTool(m_built.Control(tool.id), QString::fromUtf8(tool.text));
}

void CMainDialog::StartSchedulerTimer() {
    m_schedulerTimer.stop();
    m_schedulerTimer.start();
}

void CMainDialog::ShowOptionMark(Option option, bool on) {
    // Setting a mark from the options is no change by the user: no command runs for it.
    auto* box = m_built.Get<QCheckBox>(CheckBoxOf(option));
    const QSignalBlocker block(box);
    box->setChecked(on);
}

void CMainDialog::ShowTooltips(bool on) {
    if (m_ctlToolTip)
        m_ctlToolTip->SetActive(on);
}

// Not yet shown, the window only takes the state, which showing it then honours.
void CMainDialog::Minimize() { setWindowState(windowState() | Qt::WindowMinimized); }

bool CMainDialog::TooltipsActive() const { return m_ctlToolTip && m_ctlToolTip->IsActive(); }

int CMainDialog::MarkedRow() const {
    const QModelIndexList selected = m_ctlMessageList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

std::optional<std::string> CMainDialog::MarkedEntryName() {
    const int row = MarkedRow();
    if (row < 0)
        return std::nullopt;
    return m_lines->EntryName(row);
}

void CMainDialog::AddLine(const std::string& line, const std::string& entryName) {
    if (auto* delegate = qobject_cast<MessageListDelegate*>(m_ctlMessageList->itemDelegate()))
        delegate->Fit(QString::fromStdString(line), m_ctlMessageList->font());
    const int row = m_lines->AddLine(line, entryName);
    // An added or edited line is where the user's attention is; it becomes the current line, unmarked.
    if (isVisible())
        KeepCurrentLine(row);
}

void CMainDialog::DeleteMarkedLine() {
    const int row = MarkedRow();
    if (row < 0)
        return;
    // The view makes the next line current as the marked one goes, and marks it; a deleted line leaves nothing
    // marked.
    const QScopedValueRollback changing(m_changingLines, true);
    m_lines->RemoveLine(row);
    m_ctlMessageList->selectionModel()->clearSelection();
    KeepCurrentLine(row);
}

void CMainDialog::KeepCurrentLine(int row) {
    // A list without a current line draws no focus, and the toolkit never gives it one again once it had none;
    // Space and the arrows would then act differently from a fresh start.
    const int count = m_lines->rowCount();
    if (count == 0)
        return;
    const QModelIndex index = m_lines->index(std::clamp(row, 0, count - 1));
    m_ctlMessageList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void CMainDialog::ClearLines() { m_lines->Clear(); }

void CMainDialog::ApplyButtons(const ButtonStates& states) {
    if (states.focus == ButtonStates::Focus::AddMessage)
        m_ctlAddMessage->setFocus();
    else if (states.focus == ButtonStates::Focus::ActivateMessages)
        m_ctlActivateMessages->setFocus();
    m_ctlEditMarked->setEnabled(states.edit);
    m_ctlCopyMarked->setEnabled(states.copy);
    m_ctlDeleteMarked->setEnabled(states.del);
    m_ctlClearAll->setEnabled(states.clearAll);
}

void CMainDialog::ShowOption(Option option, bool on) {
    if (option == Option::MessagesActivated) {
        QWidget* focused = focusWidget();
        ShowListControls(on);
        // A box toggled without a click (an accessibility tool) keeps the focus where it was; a hidden control
        // would hand it down the chain to Exit, where the first Space ends the program.
        if (!on && focused && focused->isHidden())
            m_ctlActivateMessages->setFocus();
    } else if (option == Option::Tooltips) {
        ShowTooltips(on);
    }
}

void CMainDialog::ShowListControls(bool show) {
    for (int id : MainIds::kListControls)
        m_built.Control(id)->setVisible(show);
}

bool CMainDialog::RunEditor(MessageEntry& workingCopy, bool tooltips) {
    CEditMessageDialog editor(&workingCopy, tooltips ? 1 : 0, this);
    return editor.DoModal() == DialogIds::kOk;
}

void CMainDialog::OnMinimize() { showMinimized(); }

void CMainDialog::OnAbout() {
    CAboutDialog about(this);
    about.DoModal();
}

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

void CMainDialog::OnTimer(unsigned timerId) { m_scheduler.OnTimer(m_schedulerWindow, timerId); }

bool CMainDialog::SchedulerWindow::IsMainWindowMinimized() {
    return m_dialog.isVisible() && (m_dialog.windowState() & Qt::WindowMinimized);
}

void CMainDialog::SchedulerWindow::RestoreMainWindow() {
    // Restored where it was minimized, the window and its due message would wait on a workspace nobody looks at,
    // while the person's keys go on reaching their own program.
    MoveToWorkspaceInView(&m_dialog);
    m_dialog.showNormal();
}

void CMainDialog::SchedulerWindow::MinimizeMainWindow() { m_dialog.showMinimized(); }

void CMainDialog::SchedulerWindow::BringMainWindowToFront() {
    m_dialog.raise();
    m_dialog.activateWindow();
}

void CMainDialog::SchedulerWindow::RequestAttention(bool wanted) {
    ::RequestAttention(&m_dialog, wanted);
}

void CMainDialog::SchedulerWindow::RunDisplayDialog(const MessageEntry& entry) {
    CShowMessageDialog display(&entry, m_dialog.m_model.ClockSource(), &m_dialog);
    display.DoModal();
}
