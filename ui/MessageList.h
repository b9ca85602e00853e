#pragma once

#include <QByteArray>
#include <QListWidgetItem>
#include <QStyledItemDelegate>

// One line of the message list. It carries its entry's exact name, so a marked line maps back to exactly one entry
// even when two names differ only in letter case.
class MessageListItem : public QListWidgetItem {
public:
    MessageListItem(const QString& line, const QByteArray& entryName);

    QByteArray EntryName() const;
    // Ascending without regard to letter case; the tab before the state sorts before every printable character,
    // so "Tea" comes before "Tea time".
    bool operator<(const QListWidgetItem& other) const override;
};

// Draws a line's text with the part after the tab at the list's tab stops, which are spaced tabStopPixels apart.
class MessageListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MessageListDelegate(int tabStopPixels, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int TabStopPixels() const { return m_tabStop; }
    // The x offset (from the text's left edge) at which the text after the tab starts.
    static int TabColumn(int textWidthBeforeTab, int tabStopPixels);

private:
    int m_tabStop;
};

// Whether line a sorts before line b in the message list.
bool ListLineLess(const QString& a, const QString& b);
