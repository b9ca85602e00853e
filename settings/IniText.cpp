#include "IniText.h"

#include <array>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1; // the first '=' outside quotes, or -1
};

// The next logical line from pos on. A line ends at a line break or a ';' outside quotes; a quoted part carries
// line breaks, and a backslash takes the byte after it along (a line break with its partner). A line that starts
// with ';' is a comment and is skipped.
bool NextLine(QByteArrayView data, qsizetype& pos, Line& line) {
    const qsizetype size = data.size();
    qsizetype start = pos;
    while (start < size && IsBlank(data[start]))
        ++start;
    qsizetype equals = -1;
    bool quoted = false;
    qsizetype i = start;
    while (i < size) {
        const char c = data[i++];
        if (c == '=') {
            if (!quoted && equals < 0)
                equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (!quoted) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char next = data[i++];
                if (i < size && ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';') {
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && IsBlank(data[i]))
                    ++i;
                start = i;
            } else if (!quoted) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line = {start, i - start, equals};
    return line.length > 0;
}

// A section or key name: "\" stands for "/", "%XX" and "%UXXXX" for the character of that number.
QString NameFrom(QByteArrayView bytes) {
    const QString text = QString::fromUtf8(bytes);
    QString name;
    name.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\')) {
            name += QLatin1Char('/');
            ++i;
            continue;
        }
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            name += c;
            ++i;
            continue;
        }
        const bool wide = text[i + 1] == QLatin1Char('U');
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = false;
        const ushort code = first + digits <= text.size() ? text.mid(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            name += c;
            ++i;
            continue;
        }
        name += QChar(code);
        i = first + digits;
    }
    return name;
}

char16_t SimpleEscape(char c) {
    switch (c) {
    case 'a': return u'\a';
    case 'b': return u'\b';
    case 'f': return u'\f';
    case 'n': return u'\n';
    case 'r': return u'\r';
    case 't': return u'\t';
    case 'v': return u'\v';
    case '"': return u'"';
    case '?': return u'?';
    case '\'': return u'\'';
    case '\\': return u'\\';
    default: return 0;
    }
}
} // namespace

namespace IniText {
QHash<QString, QByteArray> RawValues(QByteArrayView data) {
    if (data.startsWith("\xef\xbb\xbf"))
        data = data.sliced(3);
    QHash<QString, QByteArray> values;
    QString section; // with its trailing "/", empty for the top level
    qsizetype pos = 0;
    Line line;
    while (NextLine(data, pos, line)) {
        const QByteArrayView text = data.sliced(line.start, line.length);
        if (text.startsWith('[')) {
            qsizetype end = text.indexOf(']');
            if (end < 0)
                end = text.size();
            const QByteArrayView name = text.first(end).sliced(1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1)) + QLatin1Char('/');
            else
                section = NameFrom(name) + QLatin1Char('/');
            continue;
        }
        if (line.equals < 0)
            continue;
        const qsizetype equals = line.equals - line.start;
        values.insert(section + NameFrom(text.first(equals).trimmed()), text.sliced(equals + 1).toByteArray());
    }
    return values;
}

std::optional<QString> Text(QByteArrayView raw) {
    const bool utf8 = raw.isValidUtf8();
    const qsizetype size = raw.size();
    QString text;
    qsizetype i = 0;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype keepFrom = 0; // blanks at the end before this position were written with an escape or in quotes
    bool cutShort = false;   // a value that ends inside an escape keeps its blanks at the end
    auto skipBlanks = [&] {
        while (i < size && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
        keepFrom = text.size();
    };
    skipBlanks();
    while (i < size) {
        const char c = raw[i];
        if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
            continue;
        }
        if (c != '\\') {
            qsizetype end = i + 1;
            while (end < size && raw[end] != '\\' && raw[end] != '"')
                ++end;
            const QByteArrayView run = raw.sliced(i, end - i);
            text += utf8 ? QString::fromUtf8(run) : FromWindows1252(run);
            i = end;
            continue;
        }
        if (++i >= size) {
            cutShort = true;
            break;
        }
        const char escaped = raw[i++];
        if (const char16_t simple = SimpleEscape(escaped)) {
            text += QChar(simple);
        } else if (escaped == 'x') {
            if (i >= size) {
                cutShort = true;
                break;
            }
            if (HexDigit(raw[i]) >= 0) {
                char16_t code = 0;
                while (i < size && HexDigit(raw[i]) >= 0)
                    code = static_cast<char16_t>(code * 16 + HexDigit(raw[i++]));
                text += QChar(code);
            }
        } else if (IsOctalDigit(escaped)) {
            char16_t code = static_cast<char16_t>(escaped - '0');
            while (i < size && IsOctalDigit(raw[i]))
                code = static_cast<char16_t>(code * 8 + (raw[i++] - '0'));
            text += QChar(code);
        } else if ((escaped == '\n' || escaped == '\r') && i < size && (raw[i] == '\n' || raw[i] == '\r') &&
                   raw[i] != escaped) {
            ++i; // a line carried over by a backslash
        }
        keepFrom = text.size();
    }
    if (!quoted && !cutShort) {
        while (text.size() > keepFrom && (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t')))
            text.chop(1);
    }
    // QSettings reads "@@..." as text starting with "@", and "@Type(...)" as a value of that type.
    if (text.startsWith(QLatin1String("@@")))
        return text.sliced(1);
    if (text.startsWith(QLatin1Char('@')) && text.endsWith(QLatin1Char(')')))
        return std::nullopt;
    return text;
}

QString FromWindows1252(QByteArrayView bytes) {
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t(byte));
    }
    return text;
}
} // namespace IniText
