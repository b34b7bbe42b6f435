#pragma once
// Base of the objects drawn on bands: frame, fill and the shift rule for stretched neighbours.

#include "Object.h"

namespace tarvex::engine {

/// How an object moves when an object above it stretches.
enum class ShiftMode { Always, Never, WhenOverlapped };

class View : public Object {
public:
    using Object::Object;

    Frame frame;
    FrColor fillColor = kColorNone; ///< background; kColorNone is transparent
    ShiftMode shiftMode = ShiftMode::Always;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;

    /// Font attributes under `prefix` ("Font", "Highlight.Font").
    static bool readFont(AttributeBag& bag, const QString& prefix, Font& font);
    static void writeFont(AttributeBag& out, const QString& prefix, const Font& font, const Font& defaults);
    static void readFrame(AttributeBag& bag, Frame& frame);
    static void writeFrame(AttributeBag& out, const Frame& frame);

private:
    bool fillAsFillBackColor_ = false; // which of the two spellings the file used
};

} // namespace tarvex::engine
