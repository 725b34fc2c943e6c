#pragma once
// Twips (1/1440 inch), the window model's unit, to device-independent pixels
// and back, at the logical DPI of the screen the window is on.
#include <QRect>

class QScreen;

namespace cd::app {

class TwipsScale {
public:
    static constexpr int kTwipsPerInch = 1440;

    explicit TwipsScale(double dotsPerInch = 96.0);
    /// The scale of a screen's logical DPI; 96 DPI when screen is null.
    static TwipsScale forScreen(const QScreen* screen);

    double dotsPerInch() const { return dpi_; }
    /// Rounded to the nearest pixel.
    int toPixels(int twips) const;
    int toTwips(int pixels) const;
    /// A rectangle in twips as pixels; negative sizes become empty.
    QRect toPixels(int left, int top, int width, int height) const;

private:
    double dpi_;
};

}  // namespace cd::app
