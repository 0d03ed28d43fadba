// The conversion error: a text that cannot be read as the number, date or time it
// should hold. Its message names the offending text, as a platform conversion error
// would; it is caught at the event loop's error boundary and shown with its own text.
#pragma once

#include <stdexcept>
#include <string>

namespace rz47 {

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace rz47
