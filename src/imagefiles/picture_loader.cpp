#include "imagefiles/picture_loader.h"

#include "document/safe_write.h"
#include "imagefiles/dds_reader.h"
#include "imagefiles/picture_format.h"
#include "imagefiles/psd_reader.h"
#include "imagefiles/qt_images.h"
#include "imagefiles/stb_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QString>
#include <QStringList>
#include <climits>

namespace kavlen {

namespace {

std::optional<Image32> decodeWithQt(std::span<const std::uint8_t> bytes, const char* format) {
    if (bytes.size() > std::size_t(INT_MAX))
        return std::nullopt;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        std::int64_t(size.width()) * size.height() > kMaxPicturePixels)
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return fromQImage(image);
}

} // namespace

std::optional<Image32> loadPicture(std::span<const std::uint8_t> bytes,
                                   const std::string& extension) {
    switch (detectPictureFormat(bytes)) {
    case PictureFormat::Bmp:
        return decodeWithQt(bytes, "bmp");
    case PictureFormat::Jpeg:
        return decodeWithQt(bytes, "jpeg");
    case PictureFormat::Png:
        return decodeWithQt(bytes, "png");
    case PictureFormat::Gif:
        return decodeWithQt(bytes, "gif");
    case PictureFormat::Psd:
        return decodePsd(bytes);
    case PictureFormat::Dds:
        return decodeDds(bytes);
    case PictureFormat::Tga: {
        QString ext = QString::fromStdString(extension).toLower();
        if (!ext.isEmpty() && ext != ".tga")
            return std::nullopt;
        return decodeTga(bytes);
    }
    }
    return std::nullopt;
}

std::optional<Image32> loadPictureFile(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string ignored;
    if (!readWholeFile(path, bytes, ignored))
        return std::nullopt;
    return loadPicture(bytes, path.extension().string());
}

PictureChoice pictureChoiceFromFile(const std::filesystem::path& path) {
    std::optional<Image32> image = loadPictureFile(path);
    if (!image)
        return {PictureChoice::Status::LoadFailed, {}};
    return {PictureChoice::Status::Loaded, std::move(*image)};
}

QString pictureDialogFilter() {
    QStringList parts;
    for (const PictureFilter& f : pictureFileFilters()) {
        const std::string name = f.caption.substr(0, f.caption.find(" ("));
        QStringList patterns;
        for (const std::string& p : f.patterns)
            patterns << QString::fromStdString(p);
        parts << QString::fromStdString(name) + " (" + patterns.join(' ') + ")";
    }
    return parts.join(";;");
}

} // namespace kavlen
