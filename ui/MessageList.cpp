#include "MessageList.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {
constexpr int kEntryNameRole = Qt::UserRole + 1;
constexpr int kTextMargin = 2;
} // namespace

bool ListLineLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    // Lines equal but for case still need a fixed order, or the list would shuffle them on every insert.
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

MessageListItem::MessageListItem(const QString& line, const QByteArray& entryName) : QListWidgetItem(line) {
    setData(kEntryNameRole, entryName);
}

QByteArray MessageListItem::EntryName() const { return data(kEntryNameRole).toByteArray(); }

bool MessageListItem::operator<(const QListWidgetItem& other) const { return ListLineLess(text(), other.text()); }

MessageListDelegate::MessageListDelegate(int tabStopPixels, QObject* parent)
    : QStyledItemDelegate(parent), m_tabStop(tabStopPixels) {}

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
