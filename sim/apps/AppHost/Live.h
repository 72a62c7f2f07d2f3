// Live mode, shared by the app programs (`--live`): the app is driven by
// another program (hbsim serve) through two pipes instead of a script.
//
// Commands arrive on standard input, one a line, in screen points:
//
//     down X Y      a finger goes down (one already down is lifted first)
//     move X Y      the finger moves
//     up X Y        the finger moves there and is lifted
//     frame         send the screen now, even when it has not changed
//
// Frames leave on what was standard output: each one is the line
// "frame N\n" followed by N bytes of PNG at the screen's scale. The app's
// own prints go to standard error from then on, so nothing else can ever
// land in the frame stream. The first frame is sent at launch; after an
// input, and for as long as animations, pushes or fades are under way (the
// run loop has timers), frames follow at most kMaxFramesPerSecond a second,
// and only when the picture changed. A still screen sends nothing and costs
// no work.
//
// When the frames stop (the screen has settled after the commands read so
// far: nothing is under way, or the picture has not changed for
// kMaxUnchangedFrames looks), and after commands that asked for no frame, the
// app writes the line "still N\n", N being the number of command lines it has
// read (ignored and overlong ones too). A driver that has sent N lines knows
// from "still N" that the screen is at rest after all of them, without timing
// a quiet gap. The first "still 0" follows the frames of the launch. The app
// ends when its standard input closes.
#pragma once

namespace apphost {

inline constexpr double kMaxFramesPerSecond = 30;

// Runs the app's run loop in live mode on the real clock, over the windows
// the app has shown; gives the exit status when the command pipe closes (0)
// or the frame pipe breaks (1).
int runLive();

}  // namespace apphost
