#pragma once

#include <QStyledItemDelegate>
#include <QWidget>

class QFontMetrics;

// The distance between the tab stops of the Quote Price list and its heading: wide enough
// for the widest heading and a price of seven integer digits, so that every field of a
// line starts under its own heading.
qreal QuoteTabDistance(const QFontMetrics& metrics);

// Draws a list line with its tabs expanded to the Quote Price tab stops.
class CTabbedItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTabbedItemDelegate)

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The column headings over a list drawn by CTabbedItemDelegate, at the same tab stops and
// the same left edge as the list's text.
class CTabbedHeading final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTabbedHeading)

public:
    // `list` gives the font and the left edge of the text.
    CTabbedHeading(QString text, const QWidget* list, QWidget* parent);

    const QString& Text() const { return m_text; }
    // Where the heading's text starts, in the list's own coordinates.
    int TextLeft() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    const QWidget* m_list;
};
