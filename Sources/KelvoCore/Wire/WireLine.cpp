#include "KelvoCore/Wire/WireLine.h"

#include "Base/JSON/JSONWriter.h"

namespace kelvo {

std::string WireLine::write(const JSONValue& value) {
    // The writer escapes line breaks inside strings, so the text is always one line.
    return JSONWriter::write(value, JSONWriter::compact());
}

}  // namespace kelvo
