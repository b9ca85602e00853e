#pragma once

#include "ListLines.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

// The message list's lines, in the core's order, as a model for the list view.
class MessageListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kEntryNameRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Adds a line at its sorted place and returns its row.
    int AddLine(const std::string& line, const std::string& entryName);
    void RemoveLine(int row);
    void Clear();
    const std::string& EntryName(int row) const { return m_lines.At(std::size_t(row)).entryName; }
    const std::string& Line(int row) const { return m_lines.At(std::size_t(row)).text; }

private:
    ListLines m_lines;
};

// Draws a line's text with the part after the tab at the list's tab stops, which are spaced tabStopPixels apart.
// Every line has the same height, so the list never measures its lines one by one: one line of the list's font,
// raised for a line whose characters only a taller fallback face holds, so that no name is clipped.
class MessageListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MessageListDelegate(int tabStopPixels, const QFont& font, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Raises the height of every line to what this line needs; cheap for text that the list's own face holds.
    void Fit(const QString& line, const QFont& font);
    // The x offset (from the text's left edge) at which the text after the tab starts.
    static int TabColumn(int textWidthBeforeTab, int tabStopPixels);

private:
    int m_tabStop;
    int m_lineHeight;
};
