// Where bytes go when they are not written straight into a stream: the entry of an archive.
#pragma once

#include <string_view>

namespace tolvane {

// A receiver of bytes written in order, e.g. the open entry of an archive.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be taken.
  virtual bool write(std::string_view bytes) = 0;
};

}  // namespace tolvane
