#include "imagefiles/picture_loader.h"

#include "document/regular_file.h"
#include "imagefiles/dds_reader.h"
#include "imagefiles/picture_format.h"
#include "imagefiles/psd_reader.h"
#include "imagefiles/qt_images.h"
#include "imagefiles/stb_reader.h"
#include "textures/bmp24.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QString>
#include <QStringList>
#include <climits>

namespace kavlen {

namespace {

const char* formatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp:
        return "Windows bitmap";
    case PictureFormat::Jpeg:
        return "JPEG";
    case PictureFormat::Png:
        return "PNG";
    case PictureFormat::Gif:
        return "GIF";
    case PictureFormat::Psd:
        return "Photoshop";
    case PictureFormat::Dds:
        return "DirectDraw Surface";
    case PictureFormat::Tga:
        return "Targa";
    }
    return "picture";
}

std::string damaged(PictureFormat format) {
    return std::string("The file is not a readable ") + formatName(format) + " picture.";
}

// The refusal of a picture larger than the cap, or nothing when it fits.
std::optional<std::string> tooLarge(std::int64_t width, std::int64_t height) {
    if (width <= kMaxPicturePixels && height <= kMaxPicturePixels &&
        width * height <= kMaxPicturePixels)
        return std::nullopt;
    return "The picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; pictures of at most " + std::to_string(kMaxPicturePixels) + " pixels (" +
           std::to_string(kMaxPictureSide) + " x " + std::to_string(kMaxPictureSide) +
           ") are read.";
}

PictureLoad decodeWithQt(std::span<const std::uint8_t> bytes, PictureFormat format,
                         const char* qtFormat) {
    if (bytes.size() > std::size_t(INT_MAX))
        return {std::nullopt, damaged(format)};
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {std::nullopt, damaged(format)};
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {std::nullopt, damaged(format)};
    if (auto why = tooLarge(size.width(), size.height()))
        return {std::nullopt, *why};
    const QImage image = reader.read();
    if (image.isNull())
        return {std::nullopt, damaged(format)};
    return {fromQImage(image), {}};
}

// Our own reader: it takes every header version and either row order.
PictureLoad decodeBitmap(std::span<const std::uint8_t> bytes) {
    const BmpHeaderResult header = readBmpHeader(bytes);
    if (!header.ok)
        return {std::nullopt, header.message};
    if (auto why = tooLarge(header.width, header.height))
        return {std::nullopt, *why};
    const BmpReadResult bmp = decodeBmp(bytes);
    if (!bmp.ok)
        return {std::nullopt, bmp.message};
    Image32 image(bmp.bitmap.width, bmp.bitmap.height);
    const std::size_t pixels = std::size_t(image.width) * image.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t* p = image.bgra.data() + 4 * i;
        p[0] = bmp.bitmap.bgr[3 * i];
        p[1] = bmp.bitmap.bgr[3 * i + 1];
        p[2] = bmp.bitmap.bgr[3 * i + 2];
        p[3] = bmp.alpha.empty() ? 255 : bmp.alpha[i];
    }
    return {std::move(image), {}};
}

PictureLoad decodeOwn(std::span<const std::uint8_t> bytes, PictureFormat format,
                      std::optional<Image32> (*decode)(std::span<const std::uint8_t>)) {
    if (const auto size = declaredPictureSize(bytes, format))
        if (auto why = tooLarge(size->width, size->height))
            return {std::nullopt, *why};
    std::optional<Image32> image = decode(bytes);
    if (!image)
        return {std::nullopt, damaged(format)};
    return {std::move(image), {}};
}

} // namespace

PictureLoad decodePicture(std::span<const std::uint8_t> bytes, const std::string& extension) {
    const PictureFormat format = detectPictureFormat(bytes);
    switch (format) {
    case PictureFormat::Bmp:
        return decodeBitmap(bytes);
    case PictureFormat::Jpeg:
        return decodeWithQt(bytes, format, "jpeg");
    case PictureFormat::Png:
        return decodeWithQt(bytes, format, "png");
    case PictureFormat::Gif:
        return decodeWithQt(bytes, format, "gif");
    case PictureFormat::Psd:
        return decodeOwn(bytes, format, decodePsd);
    case PictureFormat::Dds:
        return decodeOwn(bytes, format, decodeDds);
    case PictureFormat::Tga: {
        QString ext = QString::fromStdString(extension).toLower();
        if (!ext.isEmpty() && ext != ".tga")
            return {std::nullopt, "The file is not a picture of a supported format."};
        return decodeOwn(bytes, format, decodeTga);
    }
    }
    return {std::nullopt, "The file is not a picture of a supported format."};
}

std::optional<Image32> loadPicture(std::span<const std::uint8_t> bytes,
                                   const std::string& extension) {
    return decodePicture(bytes, extension).image;
}

PictureLoad loadPictureFileWithReason(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!readRegularFile(path, kMaxPictureFileBytes, bytes, why))
        return {std::nullopt, why};
    return decodePicture(bytes, path.extension().string());
}

std::optional<Image32> loadPictureFile(const std::filesystem::path& path) {
    return loadPictureFileWithReason(path).image;
}

PictureChoice pictureChoiceFromFile(const std::filesystem::path& path) {
    PictureLoad load = loadPictureFileWithReason(path);
    if (!load.image)
        return {PictureChoice::Status::LoadFailed, {}, load.message};
    return {PictureChoice::Status::Loaded, std::move(*load.image), {}};
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
