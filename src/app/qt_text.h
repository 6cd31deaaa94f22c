// Text and paths between the core (UTF-8 std::string) and Qt.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace kavlen {

inline QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string toStd(const QString& text) {
    return text.toStdString();
}
inline std::filesystem::path toPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::filesystem::path toPath(const QString& text) {
    return toPath(text.toStdString());
}
inline QString fromPath(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(s.data()),
                             static_cast<qsizetype>(s.size()));
}

// A file dialog filter ("MQO file (*.MQO)") whose patterns also match the other
// case: on case-sensitive file systems "*.MQO" alone would hide "model.mqo".
QString filterForAnyCase(const QString& filter);

// A message for a box or hint: each line break, whether written "\r\n", "\n\r",
// "\n" or "\r", becomes one "\n".
QString messageText(const std::string& text);

// Text of a file in an unknown 8-bit encoding: UTF-8 when it is valid UTF-8,
// otherwise Latin-1.
QString decodeText(const std::string& bytes);

} // namespace kavlen
