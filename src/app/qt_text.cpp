#include "app/qt_text.h"

#include <QRegularExpression>
#include <QStringList>

#include <QStringDecoder>

namespace kavlen {

QString decodeText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text =
        utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString filterForAnyCase(const QString& filter) {
    // Each "(patterns)" group gets the lower- and upper-case forms of its patterns.
    static const QRegularExpression group(QStringLiteral("\\(([^()]*)\\)"));
    QString out;
    qsizetype done = 0;
    for (auto it = group.globalMatch(filter); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QStringList patterns = m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& p : QStringList(patterns))
            for (const QString& variant : {p.toLower(), p.toUpper()})
                if (!patterns.contains(variant))
                    patterns.append(variant);
        out += filter.mid(done, m.capturedStart(1) - done) + patterns.join(QLatin1Char(' '));
        done = m.capturedEnd(1);
    }
    return out + filter.mid(done);
}

QString messageText(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            lines += c;
            continue;
        }
        lines += '\n';
        // The other half of a two-character break belongs to the same break.
        if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
            ++i;
    }
    return toQt(lines);
}

} // namespace kavlen
