#include "MessageList.h"


#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>


namespace {
constexpr int kTextMargin = 2;
constexpr int kLinePadding = 2;

// Latin, with its accents, and the other scripts a Western dialog face holds stand within the face's own height.
bool NeedsFallbackFace(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x0370)
            return true;
    }
    return false;
}
} // namespace

int MessageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_lines.Size());
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListLines::Line& line = m_lines.At(std::size_t(index.row()));
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromStdString(line.text);
    if (role == kEntryNameRole)
        return QByteArray::fromStdString(line.entryName);
    return {};
}

int MessageListModel::AddLine(const std::string& line, const std::string& entryName) {
    const int row = int(m_lines.PlaceOf(line));
    beginInsertRows({}, row, row);
    m_lines.Add(line, entryName);
    endInsertRows();
    return row;
}

void MessageListModel::RemoveLine(int row) {
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_lines.Remove(std::size_t(row));
    endRemoveRows();
}

void MessageListModel::Clear() {
    beginResetModel();
    m_lines.Clear();
    endResetModel();
}

MessageListDelegate::MessageListDelegate(int tabStopPixels, const QFont& font, QObject* parent)
    : QStyledItemDelegate(parent), m_tabStop(tabStopPixels), m_lineHeight(QFontMetrics(font).height() + kLinePadding) {}

void MessageListDelegate::Fit(const QString& line, const QFont& font) {
    if (!NeedsFallbackFace(line))
        return;
    // The layout finds the faces that stand in for characters the list's face lacks, and their heights.
    QTextLayout layout(line, font);
    layout.beginLayout();
    const QTextLine textLine = layout.createLine();
    layout.endLayout();
    const int needed = (textLine.isValid() ? qCeil(textLine.height()) : 0) + kLinePadding;
    if (needed <= m_lineHeight)
        return;
    m_lineHeight = needed;
    emit sizeHintChanged(QModelIndex());
}

QSize MessageListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), m_lineHeight};
}

int MessageListDelegate::TabColumn(int textWidthBeforeTab, int tabStopPixels) {
    if (tabStopPixels <= 0)
        return textWidthBeforeTab;
    // Tab stops repeat at the given distance, so a name wider than the first stop moves on to the next one.
    return (textWidthBeforeTab / tabStopPixels + 1) * tabStopPixels;
}

void MessageListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString line = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    // The state follows the last tab; a name pasted with a tab of its own keeps it in the name.
    const int tab = line.lastIndexOf(QLatin1Char('\t'));
    const QString before = tab < 0 ? line : line.left(tab);
    const QString after = tab < 0 ? QString() : line.mid(tab + 1);
    const QRect textRect = opt.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const QPalette::ColorRole role = (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;

    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(role));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, before);
    if (tab >= 0) {
        const int column = TabColumn(opt.fontMetrics.horizontalAdvance(before), m_tabStop);
        painter->drawText(textRect.adjusted(column, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          after);
    }
    painter->restore();
}
