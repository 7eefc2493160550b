// What i__view32.exe reports to whoever started it. Nothing is ever left under
// the target's name unless the code is Converted.
#pragma once

namespace conv {

enum ExitCode : int {
    Converted = 0,
    BadCommandLine = 1,
    SourceUnreadable = 2,
    SourceNotABitmap = 3,
    EncodingFailed = 4,
    TargetUnwritable = 5,
};

} // namespace conv
