#include "interchange/zip_member.h"

#include "interchange/text_numbers.h"

#ifdef KAVLEN_HAVE_LIBZIP
#include <zip.h>
#endif

namespace kavlen {

bool isZipArchive(std::string_view bytes) {
    return bytes.starts_with(std::string_view("PK\x03\x04", 4)) ||
           bytes.starts_with(std::string_view("PK\x05\x06", 4));
}

#ifdef KAVLEN_HAVE_LIBZIP

bool canReadZipArchives() {
    return true;
}

bool readZipMember(std::string_view archive, std::string_view extension, std::uintmax_t maxBytes,
                   std::string& out, std::string& message) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    if (!source) {
        message = "it cannot be unpacked";
        zip_error_fini(&error);
        return false;
    }
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!zip) {
        zip_source_free(source);
        message = std::string("it is a damaged zip archive (") + zip_error_strerror(&error) + ")";
        zip_error_fini(&error);
        return false;
    }
    zip_error_fini(&error);

    const std::string wanted = lowerAscii(extension);
    zip_int64_t found = -1;
    int matches = 0;
    const zip_int64_t entries = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const char* name = zip_get_name(zip, zip_uint64_t(i), 0);
        if (name && lowerAscii(name).ends_with(wanted)) {
            found = i;
            ++matches;
        }
    }
    bool ok = false;
    if (matches != 1) {
        message = matches == 0 ? "the archive holds no " + std::string(extension) + " file"
                               : "the archive holds " + std::to_string(matches) + " " +
                                     std::string(extension) + " files, not one";
    } else if (zip_file_t* file = zip_fopen_index(zip, zip_uint64_t(found), 0)) {
        out.clear();
        char buffer[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
            if (out.size() + std::size_t(n) > maxBytes) {
                message = "it unpacks to more than " + std::to_string(maxBytes) + " bytes";
                n = -2;
                break;
            }
            out.append(buffer, std::size_t(n));
        }
        if (n == -1)
            message = std::string("it cannot be unpacked (") + zip_file_strerror(file) + ")";
        ok = n == 0;
        zip_fclose(file);
    } else {
        message = std::string("it cannot be unpacked (") + zip_strerror(zip) + ")";
    }
    zip_discard(zip);
    return ok;
}

#else

bool canReadZipArchives() {
    return false;
}

bool readZipMember(std::string_view, std::string_view, std::uintmax_t, std::string&,
                   std::string& message) {
    message = "this build cannot unpack zip archives";
    return false;
}

#endif

} // namespace kavlen
