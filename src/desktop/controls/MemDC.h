#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <optional>

// An offscreen drawing surface for flicker-free painting: drawing goes into a pixmap of
// the target's rectangle, in the target's coordinates, and is copied to the target in
// one piece when the surface goes out of scope. A printing target is drawn into
// directly.
class CMemDC final {
public:
    CMemDC(QPainter& target, const QRect& rect);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_memory ? *m_memory : m_target; }
    bool Printing() const { return !m_memory.has_value(); }

private:
    QPainter& m_target;
    QRect m_rect;
    QPixmap m_pixmap;
    std::optional<QPainter> m_memory;
};
