// The child side of the start-up benchmark: one process that opens either
// the panel or the floor window, says when it was first painted and at what
// size, and on its way out says its peak memory.
#pragma once

inline constexpr char ChildFlag[] = "--child";
inline constexpr char PanelMode[] = "panel";      // then the panel's folder
inline constexpr char FloorMode[] = "floor";      // then width and height in pixels
inline constexpr char PaintedLine[] = "painted";  // then width and height
inline constexpr char PeakLine[] = "peak_kb";

// argv: program, ChildFlag, then the mode and its arguments. Returns the
// exit status.
int runStartUpChild(int argc, char** argv);
