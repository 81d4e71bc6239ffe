// flashgen: builds the German text table and the data-flash image from the
// catalogues in assets/po, or checks the catalogues' translations.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "Texts.h"

namespace {

int Usage()
{
    std::fputs("usage: flashgen --po DIR --german FILE.cpp --image-cpp FILE.cpp --image-bin FILE.bin\n"
               "       flashgen --check DIR\n"
               "The first form writes the built-in German table, the data-flash image as C++\n"
               "and as a binary file; the second checks every translation against German\n"
               "(pictograms, format characters; over-long lines are only reported).\n"
               "exit status: 0 fine, 1 a catalogue is faulty, 2 bad usage or an unwritable output\n",
               stderr);
    return 2;
}

// Writes only when the content changed, so that an unchanged catalogue does
// not rebuild the panel.
bool WriteIfChanged(const std::string& path, const std::string& content)
{
    // A FIFO or a device would block the read, a directory cannot be written.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::fprintf(stderr, "flashgen: %s is no regular file\n", path.c_str());
        return false;
    }
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == content) {
                return true;
            }
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

int Check(const std::string& dir)
{
    flashgen::Database db;
    std::string error;
    if (!flashgen::LoadDirectory(dir, db, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int faults = 0, long_lines = 0;
    for (const po::Catalogue& c : db.catalogues) {
        for (const po::Entry& e : c.entries) {
            if (e.msgstr.empty() || e.msgstr == e.msgid) {
                continue;
            }
            for (const std::string& f : flashgen::CheckTranslation(e.msgid, e.msgstr)) {
                std::fprintf(stderr, "%s:%d: text %u: %s\n", c.path.c_str(), e.line, e.id, f.c_str());
                ++faults;
            }
            const bool broken = e.msgid.find('\n') != std::string::npos;
            const std::size_t limit = flashgen::LongestLine(e.msgid);
            if (broken && flashgen::LongestLine(e.msgstr) > limit) {
                std::printf("%s:%d: note: text %u has a line longer than German's %zu characters\n", c.path.c_str(),
                            e.line, e.id, limit);
                ++long_lines;
            }
        }
    }
    std::printf("%zu catalogues checked: %d faults, %d over-long lines\n", db.catalogues.size(), faults, long_lines);
    return faults == 0 ? 0 : 1;
}

int Run(int argc, char** argv)
{
    std::string po, german, imageCpp, imageBin, check;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        const char* v = argv[++i];
        if (std::strcmp(a, "--po") == 0) {
            po = v;
        } else if (std::strcmp(a, "--german") == 0) {
            german = v;
        } else if (std::strcmp(a, "--image-cpp") == 0) {
            imageCpp = v;
        } else if (std::strcmp(a, "--image-bin") == 0) {
            imageBin = v;
        } else if (std::strcmp(a, "--check") == 0) {
            check = v;
        } else {
            return Usage();
        }
    }
    if (!check.empty()) {
        return Check(check);
    }
    if (po.empty() || german.empty() || imageCpp.empty() || imageBin.empty()) {
        return Usage();
    }
    const auto start = std::chrono::steady_clock::now();
    flashgen::Database db;
    std::string error;
    if (!flashgen::LoadDirectory(po, db, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> image = flashgen::BuildImage(db);
    const bool ok = WriteIfChanged(german, flashgen::GermanTableCpp(db)) &&
                    WriteIfChanged(imageCpp, flashgen::ImageCpp(image)) &&
                    WriteIfChanged(imageBin, std::string(image.begin(), image.end()));
    if (!ok) {
        std::fprintf(stderr, "flashgen: cannot write the outputs\n");
        return 2;
    }
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    int languages = 0;
    for (const bool t : db.translated) {
        languages += t ? 1 : 0;
    }
    std::printf("flashgen: %zu bytes of data flash, %d of %u languages translated, %lld us\n", image.size(), languages,
                static_cast<unsigned>(FLS_LANGUAGE_COUNT), static_cast<long long>(us.count()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Faults are reported where they are found; this is the last resort
    // for one nobody foresaw, so that the build still names it.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "flashgen: %s\n", e.what());
        return 1;
    }
}
