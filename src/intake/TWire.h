#pragma once
// Reading the host's records in place: little-endian numbers and Windows-1251 texts at fixed
// offsets, with a descriptor per field so that tools can list a record by its field names.

#include "CodePage.h"

#include <QString>
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "host records are little-endian and are read in place");

namespace tarvex::wire {

enum class Kind { U8, Char, U16, I16, I32, F32, F64, Text };

/// One named field of a host record: `count` elements of `width` bytes from `offset`.
struct FieldInfo {
    const char* name;
    Kind kind;
    int offset;
    int count;
    int width;
};

/// A list of field descriptors (a static table; never owned by the holder).
struct FieldList {
    const FieldInfo* first = nullptr;
    int size = 0;
    const FieldInfo* begin() const { return first; }
    const FieldInfo* end() const { return first + size; }
};

template <class T> constexpr Kind kindOf();
template <> constexpr Kind kindOf<std::uint8_t>() { return Kind::U8; }
template <> constexpr Kind kindOf<char>() { return Kind::Char; }
template <> constexpr Kind kindOf<std::uint16_t>() { return Kind::U16; }
template <> constexpr Kind kindOf<std::int16_t>() { return Kind::I16; }
template <> constexpr Kind kindOf<std::int32_t>() { return Kind::I32; }
template <> constexpr Kind kindOf<float>() { return Kind::F32; }
template <> constexpr Kind kindOf<double>() { return Kind::F64; }

/// The value at `offset` of a record; zero when there is no record (`base` null).
template <class T> T load(const std::uint8_t* base, int offset) {
    T value {};
    if (base)
        std::memcpy(&value, base + offset, sizeof value);
    return value;
}

/// Element `i` of an array of `N` values; zero for an index outside the array.
template <class T, int N> T loadAt(const std::uint8_t* base, int offset, int i) {
    return i >= 0 && i < N ? load<T>(base, offset + i * static_cast<int>(sizeof(T))) : T {};
}

template <class T> void store(std::uint8_t* base, int offset, T value) {
    std::memcpy(base + offset, &value, sizeof value);
}

/// A text of at most `width` bytes, ending early at a zero byte.
inline QString text(const std::uint8_t* base, int offset, int width) {
    if (!base)
        return {};
    return decodeText(reinterpret_cast<const char*>(base) + offset, static_cast<std::size_t>(width));
}

} // namespace tarvex::wire

// Field lists are written once, as X-macro lists of F (scalar), FA (array), T (text) and
// TA (array of texts) entries; the macros below turn a list into named accessors over the
// class's fieldBase() and into the descriptor table.
#define TARVEX_GET_F(name, type, off)                                                                       \
    type name() const { return ::tarvex::wire::load<type>(fieldBase(), off); }
#define TARVEX_GET_FA(name, type, off, n)                                                                   \
    type name(int i) const { return ::tarvex::wire::loadAt<type, n>(fieldBase(), off, i); }
#define TARVEX_GET_T(name, off, w)                                                                          \
    QString name() const { return ::tarvex::wire::text(fieldBase(), off, w); }
#define TARVEX_GET_TA(name, off, w, n)                                                                      \
    QString name(int i) const {                                                                             \
        return i >= 0 && i < (n) ? ::tarvex::wire::text(fieldBase(), (off) + i * (w), w) : QString();       \
    }

#define TARVEX_INFO_F(name, type, off) {#name, ::tarvex::wire::kindOf<type>(), off, 1, static_cast<int>(sizeof(type))},
#define TARVEX_INFO_FA(name, type, off, n)                                                                  \
    {#name, ::tarvex::wire::kindOf<type>(), off, n, static_cast<int>(sizeof(type))},
#define TARVEX_INFO_T(name, off, w) {#name, ::tarvex::wire::Kind::Text, off, 1, w},
#define TARVEX_INFO_TA(name, off, w, n) {#name, ::tarvex::wire::Kind::Text, off, n, w},

/// Defines `Class::fields()` from a field list (in one .cpp per record kind).
#define TARVEX_DEFINE_FIELDS(Class, LIST)                                                                   \
    ::tarvex::wire::FieldList Class::fields() {                                                             \
        static constexpr ::tarvex::wire::FieldInfo kFields[] = {                                            \
            LIST(TARVEX_INFO_F, TARVEX_INFO_FA, TARVEX_INFO_T, TARVEX_INFO_TA)};                            \
        return {kFields, static_cast<int>(sizeof kFields / sizeof kFields[0])};                             \
    }
