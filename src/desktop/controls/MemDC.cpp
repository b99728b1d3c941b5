#include "desktop/controls/MemDC.h"

#include <QPaintDevice>

namespace {

bool IsScreen(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device != nullptr && device->devType() != QInternal::Printer &&
           device->devType() != QInternal::Picture;
}

}  // namespace

CMemDC::CMemDC(QPainter& target, const QRect& rect) : m_target(target), m_rect(rect) {
    if (!IsScreen(target) || rect.isEmpty()) {
        return;
    }
    const qreal ratio = target.device()->devicePixelRatioF();
    m_pixmap = QPixmap(rect.size() * ratio);
    m_pixmap.setDevicePixelRatio(ratio);
    m_memory.emplace(&m_pixmap);
    m_memory->setFont(target.font());
    m_memory->translate(-rect.topLeft());
}

CMemDC::~CMemDC() {
    if (!m_memory) {
        return;
    }
    m_memory->end();
    m_target.drawPixmap(m_rect.topLeft(), m_pixmap);
}
