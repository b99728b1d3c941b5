#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

#include "core/figures/ViewGeometry.h"

class QPainter;
struct PieLayout;
struct TimelineLayout;

// The main view's drawing primitives: panels, the value summary, the pie and the
// timeline. They draw what the layout computations decided, nothing more.
namespace view_painter {

QColor ToColour(const Rgb& rgb);
QRect ToRect(const ViewRect& rect);  // edges as given: right and bottom exclusive

QFont TitleFont();
QFont LinkFont();
QFont SmallFont();

// Rounded frame, title and, where given, the "Edit" text; then the body (filled unless
// `fillBody` is false) with its 1-pixel frame.
void DrawPanel(QPainter& painter, const ViewRect& header, const ViewRect& body,
               const QString& title, bool withEdit, bool fillBody);
// The "Edit" text of the alert panel's link in the given colour.
void DrawLink(QPainter& painter, const Rgb& colour);

void DrawValueSummary(QPainter& painter, const QString& figures);

// `directions` holds the quote direction of each slice's symbol, for its label colour.
void DrawPie(QPainter& painter, const PieLayout& layout, const QString& lastUpdate,
             const std::vector<int>& directions);

void DrawTimeline(QPainter& painter, const TimelineLayout& layout);

}  // namespace view_painter
