#pragma once
// A single-line edit box made on demand over part of another control, such as the in-place
// editor over a list cell. Destroying the object removes the box from the screen.

#include <string>
#include <string_view>

namespace zqar::platform {

class EditBox {
public:
    virtual ~EditBox() = default;
    // At most 299 characters, as a 300-byte buffer reads it.
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual void show() = 0;
    // Gives it the keyboard focus, and answers whether it has it.
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
};

} // namespace zqar::platform
