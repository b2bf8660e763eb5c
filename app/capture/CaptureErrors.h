#pragma once

namespace ondrel {

// The message shown when the capture device cannot be opened with `result`, or nullptr for
// the results that end the program without a message.
const char* CaptureErrorMessage(int result);

} // namespace ondrel
