#include "desktop/controls/XCellDelegate.h"

#include <QAbstractItemView>
#include <QPainter>

#include "desktop/controls/ListCellData.h"
#include "desktop/controls/XListModel.h"

XCellDelegate::XCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

XCellDelegate::~XCellDelegate() = default;

void XCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const auto* cell =
        static_cast<const ListCellData*>(index.data(XListModel::kCellRole).value<const void*>());
    const QPalette& colours = option.palette;
    QColor text = cell != nullptr ? cell->textColour : colours.color(QPalette::Text);
    QColor back = cell != nullptr ? cell->backColour : colours.color(QPalette::Base);
    if (option.state & QStyle::State_Selected) {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        if (view != nullptr && view->hasFocus()) {
            text = colours.color(QPalette::Active, QPalette::HighlightedText);
            back = colours.color(QPalette::Active, QPalette::Highlight);
        } else {
            // The list always shows its selection: window text on button face.
            text = colours.color(QPalette::Text);
            back = colours.color(QPalette::Button);
        }
    }
    painter->save();
    painter->fillRect(option.rect, back);
    const QString shown = index.data(Qt::DisplayRole).toString();
    if (!shown.isEmpty()) {
        QFont font = option.font;
        if (cell != nullptr && cell->bold) {
            font.setWeight(QFont::Bold);
            font.setUnderline(true);
        }
        painter->setFont(font);
        painter->setPen(text);
        const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        painter->drawText(option.rect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                          shown);
    }
    painter->restore();
}
