// Painters for every picture of the installer's skin. Each paints one whole picture onto a
// canvas of the size the skin lists for it.
#pragma once

#include "canvas.h"

namespace skinart {

enum class State { kNormal, kHot, kPushed };

// Main window (window_art.cc).
void PaintBackground(Canvas& canvas);
void PaintLogo(Canvas& canvas);
// Filled blue button; the layout writes its label on top.
void PaintPrimaryButton(Canvas& canvas, State state, double radius);
void PaintBackButton(Canvas& canvas, State state);
void PaintChevron(Canvas& canvas, bool hot);
void PaintCheckBox(Canvas& canvas, bool selected);
void PaintEditField(Canvas& canvas);
void PaintProgressTrack(Canvas& canvas);
void PaintProgressFill(Canvas& canvas);
void PaintFinished(Canvas& canvas);
void PaintTip(Canvas& canvas);

// Installation animation (spinner_art.cc): frame of frameCount, the last one leading
// seamlessly back to the first.
void PaintSpinnerFrame(Canvas& canvas, int frame, int frameCount);

// Title-bar buttons and dialog emblems (chrome_art.cc).
void PaintMinimise(Canvas& canvas, State state);
void PaintClose(Canvas& canvas, State state);
void PaintDialogClose(Canvas& canvas, State state);
enum class Emblem { kWarning, kQuestion, kNetwork };
void PaintDialogIcon(Canvas& canvas, Emblem emblem);

// The product mark: a rounded blue square with a white "Q", size × size at x, y.
void PaintMark(cairo_t* cr, double x, double y, double size);

}  // namespace skinart
