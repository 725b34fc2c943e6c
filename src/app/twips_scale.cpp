#include "app/twips_scale.h"

#include <QScreen>
#include <algorithm>
#include <cmath>

namespace cd::app {

TwipsScale::TwipsScale(double dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96.0) {}

TwipsScale TwipsScale::forScreen(const QScreen* screen) {
    return TwipsScale(screen ? screen->logicalDotsPerInch() : 96.0);
}

int TwipsScale::toPixels(int twips) const {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi_ / kTwipsPerInch));
}

int TwipsScale::toTwips(int pixels) const {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / dpi_));
}

QRect TwipsScale::toPixels(int left, int top, int width, int height) const {
    return QRect(toPixels(left), toPixels(top), std::max(0, toPixels(width)), std::max(0, toPixels(height)));
}

}  // namespace cd::app
