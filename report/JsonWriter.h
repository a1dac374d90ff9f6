#pragma once
// A small JSON writer for the tools' one-object-per-line output. Strings are
// written as valid UTF-8: a byte that does not belong to a UTF-8 sequence
// (rule files are 8-bit text) is shown as U+FFFD.

#include <string>
#include <string_view>

namespace zelmar {

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(long number);
    JsonWriter& value(int number) { return value(long { number }); }
    JsonWriter& value(bool flag);
    // The shortest text that reads back as the same number; null when it is
    // not finite, which JSON cannot hold.
    JsonWriter& value(double number);
    JsonWriter& null();

    const std::string& str() const { return m_out; }
    void clear()
    {
        m_out.clear();
        m_needComma = false;
    }

private:
    void separate();
    std::string m_out;
    bool m_needComma = false;
};

void appendJsonString(std::string& out, std::string_view text);

} // namespace zelmar
