#pragma once

#include <QColor>
#include <QHeaderView>
#include <set>

class QPainter;

// The list control's column header, painted whole by itself through an offscreen
// surface: flat face, dark captions, etched dividers, a raised frame, and a triangle on
// the sort column.
class CXHeaderCtrl final : public QHeaderView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CXHeaderCtrl)

public:
    static constexpr QColor kCaptionColour{20, 80, 100};

    explicit CXHeaderCtrl(QWidget* parent = nullptr);
    ~CXHeaderCtrl() override;

    // Marks the column (and keeps it owner-drawn from now on) and repaints.
    void MarkSortColumn(int column, int direction);
    int SortColumn() const { return m_sortColumn; }
    int SortDirection() const { return m_sortDirection; }
    bool IsOwnerDrawn(int column) const { return m_ownerDrawn.contains(column); }

    void PaintHeader(QPainter& painter, const QRect& clip) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LoadColours();
    void DrawOwnerItem(QPainter& painter, int column, QRect rect, const QString& caption,
                       Qt::Alignment alignment) const;
    void DrawTriangle(QPainter& painter, const QRect& rect) const;

    int m_spacing = 6;
    int m_sortColumn = -1;
    int m_sortDirection = 2;
    std::set<int> m_ownerDrawn;
    QColor m_highlight;
    QColor m_shadow;
    QColor m_face;
    QColor m_text;
};
