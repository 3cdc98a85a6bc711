#pragma once
#include <string>

// Where the print preview puts the paper and at what scale, free of any window.
namespace reports {

// The printer as the preview sees it, in printer dots.
struct PrinterGeometry {
    int paperW = 0, paperH = 0;    // the physical sheet
    int offsetX = 0, offsetY = 0;  // the printable area's corner on the sheet
    int printableW = 0, printableH = 0;
    int dpiX = 600, dpiY = 600;
};

struct PreviewLayout {
    int panelW = 0, panelH = 0;  // the paper panel, screen pixels
    int panelLeft = 0, panelTop = 0;
    int zoom = 100;          // percent of the paper's true size on this screen
    double scale = 0;        // screen pixels per printer dot
    int boxX = 0, boxY = 0;  // the page area inside the panel
    int boxW = 0, boxH = 0;
};

// Screen width / height as "%4.2f".
std::string ScreenAspectText(int screenW, int screenH);

// mode 1 shows the whole page, 2 twice as large. On the usual screen shapes
// (and always for portrait paper) the paper takes the scroll box's height,
// otherwise its width. windowPpi is the preview window's pixels per inch.
PreviewLayout LayoutPreview(int screenW, int screenH, int scrollW, int scrollH,
                            const PrinterGeometry& printer, int windowPpi, int mode);

// The preview's dots per inch for a zoom (MulDiv: halves up).
int PreviewPixelsPerInch(int windowPpi, int zoom);

}  // namespace reports
