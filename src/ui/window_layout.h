#pragma once

#include <QRect>
#include <QSize>

namespace morvane {

// The first window's place without a saved layout: the wanted size, made smaller to fit the
// screen's free area (less a margin for the window's frame), centred in it.
QRect initialWindowRect(const QSize& wanted, const QRect& available);

} // namespace morvane
