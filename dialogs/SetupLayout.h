// Where the setup dialog's controls sit, in twips. The rows start below the
// count box and everything under them moves down one step per row, so the
// dialog grows and shrinks with the fader count.
#pragma once

class QWidget;

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    constexpr TwipsRect atTop(int newTop) const { return {left, newTop, width, height}; }
};

namespace SetupLayout {

// Wide enough for the entry boxes with the same margin on the right as on
// the left.
constexpr int ClientWidth = 4575;

constexpr TwipsRect GainStageFrame{360, 240, 3615, 1215};
// Option buttons, inside the frame.
constexpr TwipsRect InputTrimOption{240, 360, 1095, 195};
constexpr TwipsRect AnalogOutputOption{1920, 360, 1455, 195};
constexpr TwipsRect DspOutputOption{240, 840, 1815, 195};
constexpr TwipsRect DeviceIdOption{1920, 840, 1500, 195};

constexpr TwipsRect CountLabel{360, 1800, 1335, 255};
constexpr TwipsRect CountBox{2400, 1800, 1815, 375};

// Row 1; later rows keep its left edges and sizes.
constexpr TwipsRect ChannelLabel{360, 2300, 1815, 255};
constexpr TwipsRect ChannelBox{2400, 2300, 1815, 375};

// Tops are replaced as soon as the dialog lays itself out.
constexpr TwipsRect PortLabel{360, 3360, 975, 255};
constexpr TwipsRect PortBox{2400, 3240, 1815, 375};
constexpr TwipsRect AddressLabel{360, 3840, 1215, 255};
constexpr TwipsRect AddressBox{2400, 3840, 1815, 375};
constexpr TwipsRect OkButton{240, 4440, 1335, 495};
constexpr TwipsRect CancelButton{2400, 4440, 1335, 495};

constexpr int RowStep = 500;
constexpr int ButtonGap = 620;      // from the address box's top to the buttons' top
constexpr int BelowButtons = 1320;  // from the buttons' top to the dialog's outer bottom

// Row is 0-based.
constexpr int rowTop(int row) { return ChannelBox.top + RowStep * row; }
constexpr int portTop(int rows) { return rowTop(rows - 1) + RowStep; }
constexpr int addressTop(int rows) { return portTop(rows) + RowStep; }
constexpr int buttonTop(int rows) { return addressTop(rows) + ButtonGap; }
constexpr int outerHeight(int rows) { return buttonTop(rows) + BelowButtons; }

// Gives the widget the pixel geometry of a twips rectangle in its parent.
void place(QWidget* widget, const TwipsRect& rect);

}  // namespace SetupLayout
