#pragma once
// The core's own texts as the desktop program shows them: status lines, captions and startup
// errors are written in Japanese by the Qt-free core (and so stay as they are in the trace and
// in velmoria-drive); the shell translates them when it shows them. Texts from a line's files
// pass through unchanged.
#include <QString>
#include <string>

namespace velmoria {

// A status line or caption: translated when it is one of the core's texts, else as it is.
QString coreText(const std::string& text);

// A startup error: as coreText, and also the core's messages that carry a file name or a
// section label of the data (such as "<file>が見つかりません"), with that part kept.
QString coreError(const std::string& text);

}  // namespace velmoria
