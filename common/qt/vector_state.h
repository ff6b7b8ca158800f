#pragma once

namespace tolvek {

// Qt's drawing and event handling can return with the upper halves of the vector registers still
// in use. Until they are cleared, the program's own floating-point code (compiled for plain SSE) pays
// for merging with them at nearly every instruction: laying a rotated grid after the histogram had
// been drawn took five times as long. Called where control comes back from such Qt work; it costs a
// cycle and does nothing on processors without those registers.
void ClearUpperVectorState();

}  // namespace tolvek
