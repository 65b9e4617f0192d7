#pragma once

namespace velmora {

// A decoded picture. Each platform keeps its own pixels behind this; the core only hands
// pictures from the loader to a picture box.
class Picture {
  public:
    virtual ~Picture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

}  // namespace velmora
