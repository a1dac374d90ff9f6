#pragma once
// Just enough JSON reading to check the replay tool's output: objects keep
// their keys in order, numbers are whole.

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelmar::test {

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool flag = false;
    long number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::string> names; // of an object's fields, in order
    std::vector<Json> fields;

    const Json& operator[](const std::string& key) const
    {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == key)
                return fields[i];
        throw std::out_of_range("no key " + key);
    }
    const Json& operator[](std::size_t i) const { return items.at(i); }
    std::vector<std::string> keys() const { return names; }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& s)
        : m_s(s)
    {
    }
    Json parse()
    {
        Json v = value();
        skip();
        if (m_i != m_s.size())
            throw std::runtime_error("trailing text");
        return v;
    }

private:
    void skip()
    {
        while (m_i < m_s.size() && (m_s[m_i] == ' ' || m_s[m_i] == '\n'))
            ++m_i;
    }
    char peek()
    {
        skip();
        if (m_i >= m_s.size())
            throw std::runtime_error("unexpected end");
        return m_s[m_i];
    }
    void expect(char c)
    {
        if (peek() != c)
            throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(m_i));
        ++m_i;
    }
    std::string string()
    {
        expect('"');
        std::string out;
        while (m_s.at(m_i) != '"') {
            char c = m_s[m_i++];
            if (c == '\\') {
                const char e = m_s.at(m_i++);
                switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    out += static_cast<char>(std::stoi(m_s.substr(m_i, 4), nullptr, 16));
                    m_i += 4;
                    break;
                default:
                    out += e;
                }
            } else {
                if (static_cast<unsigned char>(c) < 0x20)
                    throw std::runtime_error("raw control character in string");
                out += c;
            }
        }
        ++m_i;
        return out;
    }
    Json value()
    {
        Json v;
        const char c = peek();
        if (c == '{') {
            v.kind = Json::Object;
            ++m_i;
            if (peek() == '}') {
                ++m_i;
                return v;
            }
            for (;;) {
                std::string k = string();
                expect(':');
                v.names.push_back(k);
                v.fields.push_back(value());
                if (peek() == ',') {
                    ++m_i;
                    continue;
                }
                expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = Json::Array;
            ++m_i;
            if (peek() == ']') {
                ++m_i;
                return v;
            }
            for (;;) {
                v.items.push_back(value());
                if (peek() == ',') {
                    ++m_i;
                    continue;
                }
                expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = Json::String;
            v.text = string();
            return v;
        }
        for (const char* word : { "true", "false", "null" }) {
            if (m_s.compare(m_i, std::strlen(word), word) == 0) {
                m_i += std::strlen(word);
                v.kind = word[0] == 'n' ? Json::Null : Json::Bool;
                v.flag = word[0] == 't';
                return v;
            }
        }
        std::size_t used = 0;
        v.kind = Json::Number;
        v.number = std::stol(m_s.substr(m_i, 24), &used);
        m_i += used;
        return v;
    }

    const std::string& m_s;
    std::size_t m_i = 0;
};

} // namespace zelmar::test
