#include "reports/PreviewLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace reports {
namespace {

int roundEven(double v) {
    return int(std::nearbyint(v));
}

}  // namespace

std::string ScreenAspectText(int screenW, int screenH) {
    if (screenH <= 0) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4.2f", double(screenW) / screenH);
    return buf;
}

PreviewLayout LayoutPreview(int screenW, int screenH, int scrollW, int scrollH,
                            const PrinterGeometry& p, int windowPpi, int mode) {
    PreviewLayout l;
    if (p.paperW <= 0 || p.paperH <= 0 || p.dpiY <= 0 || windowPpi <= 0) return l;
    mode = mode == 2 ? 2 : 1;
    std::string aspect = ScreenAspectText(screenW, screenH);
    bool fitHeight = aspect == "1.33" || aspect == "1.60" || aspect == "1.71" || aspect == "1.78" ||
                     p.paperW < p.paperH;
    if (fitHeight) {
        l.panelH = scrollH * mode;
        l.panelW = roundEven(double(p.paperW) * l.panelH / p.paperH);
    } else {
        l.panelW = scrollW * mode;
        l.panelH = roundEven(double(p.paperH) * l.panelW / p.paperW);
    }
    l.panelTop = 0;
    l.panelLeft = std::max(0, (scrollW - l.panelW) / 2);
    const double ratio = double(windowPpi) / p.dpiY;
    l.zoom = roundEven(double(l.panelW) / p.paperW / ratio * 100);
    l.scale = ratio * l.zoom / 100;
    l.boxX = roundEven(p.offsetX * l.scale);
    l.boxY = roundEven(p.offsetY * l.scale);
    l.boxW = roundEven(p.printableW * l.scale);
    l.boxH = roundEven(p.printableH * l.scale);
    return l;
}

int PreviewPixelsPerInch(int windowPpi, int zoom) {
    long long n = static_cast<long long>(windowPpi) * zoom;
    return int(n >= 0 ? (n + 50) / 100 : -((-n + 50) / 100));
}

}  // namespace reports
