#include "platform/display_fit.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstdio>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace orven {

namespace {

// The largest design client area of the program's screens, twips (the
// initial-data screens are 14000 wide, the results screen 9615 high).
constexpr int largestWidthTwips = 14000;
constexpr int largestHeightTwips = 9615;
// Room for a window manager's frame: borders and a title bar, logical pixels.
constexpr int frameWidth = 12;
constexpr int frameHeight = 40;
// Never below half size: the text would be unreadable.
constexpr double smallestScale = 0.5;

const char* const restartedMark = "ORVEN_SCALE_FITTED";

} // namespace

std::optional<double> fittingDeviceScale(QSizeF design, QSizeF available, double currentScale) {
    if (design.width() <= available.width() && design.height() <= available.height())
        return std::nullopt;
    const double fit =
        std::min(available.width() / design.width(), available.height() / design.height());
    const double scale = std::floor(currentScale * fit * 8) / 8;
    return std::max(scale, smallestScale);
}

QPoint frameShiftInto(const QRect& frame, const QRect& available) {
    const auto shift = [](int start, int length, int areaStart, int areaLength) {
        const int overEnd = start + length - (areaStart + areaLength);
        int moved = overEnd > 0 ? -overEnd : 0;
        if (start + moved < areaStart)
            moved = areaStart - start;
        return moved;
    };
    return {shift(frame.x(), frame.width(), available.x(), available.width()),
            shift(frame.y(), frame.height(), available.y(), available.height())};
}

void fitScreensToDisplay(char* argv[]) {
#ifdef Q_OS_WIN
    // Windows cannot put the program in its own place at another scale; the
    // screens keep the scale the display gives them.
    Q_UNUSED(argv);
    return;
#else
    if (qEnvironmentVariableIsSet(restartedMark))
        return;
    const QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr)
        return;
    const double current = display->devicePixelRatio();
    const QSizeF design(twipsToPixels(largestWidthTwips) + frameWidth,
                        twipsToPixels(largestHeightTwips) + frameHeight);
    const std::optional<double> scale =
        fittingDeviceScale(design, display->availableGeometry().size(), current);
    if (!scale || *scale >= current)
        return;
    // Qt's own factor multiplies what the platform gives; keep that part.
    const double userFactor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                  ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                  : 1.0;
    const double platformScale = userFactor > 0 ? current / userFactor : current;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(*scale / platformScale, 'g', 6));
    qputenv(restartedMark, "1");
    ::execv("/proc/self/exe", argv);
    // The program goes on at the scale it has when it cannot start itself again.
    std::fputs("orven: не удалось перезапустить программу в масштабе, при котором окна "
               "помещаются на экране\n",
               stderr);
#endif
}

} // namespace orven
