#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>

#include "config/errors.h"
#include "config/numtext.h"
#include "config_tempdir.h"
#include "decimalmark_scope.h"
#include "model/emitters.h"
#include "plot/exportpicture.h"

namespace {

struct TRgb {
    int R, G, B;
    friend bool operator==(TRgb, TRgb) = default;
};

void PrintTo(TRgb c, std::ostream* os) {
    *os << "rgb(" << c.R << ", " << c.G << ", " << c.B << ")";
}

constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kRed{255, 0, 0};
constexpr TRgb kBlue{0, 0, 255};

std::uint32_t Read32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

// The colour of picture pixel (x, y), y counted from the top, in a file of bottom-up rows.
TRgb FilePixel(const std::string& bmp, int x, int y) {
    const std::size_t at = 54 + (static_cast<std::size_t>(879 - y) * 880 + x) * 4;
    return {static_cast<std::uint8_t>(bmp[at + 2]), static_cast<std::uint8_t>(bmp[at + 1]),
            static_cast<std::uint8_t>(bmp[at])};
}

using TNames = std::vector<std::string>;

class ExportTest : public TTempDirTest {
  protected:
    void SetUp() override {
        TTempDirTest::SetUp();
        Model = MakeInitialModel();
    }

    // Names in the export folder, temporary files included, sorted.
    TNames Entries() const {
        TNames names;
        for (const auto& e : std::filesystem::directory_iterator(Dir)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Leaves an earlier export in the folder, to be kept by a failing one.
    std::string Earlier(const char* name) {
        const std::string path = PathOf(name);
        WriteBytes(path, "earlier picture");
        return path;
    }

    std::string SaveError(const std::string& path, const TWriteFn& write = {}) {
        Picture.Draw(Model, 0);
        try {
            Picture.Save(path, write);
        } catch (const EHandlerError& e) {
            return e.what();
        }
        return {};
    }

    TDecimalMarkScope Comma;
    TArrayModel Model;
    TExportPicture Picture;
};

TEST_F(ExportTest, PictureIsWhiteAtCreation) {
    for (const int at : {0, 440, 879}) EXPECT_EQ(Picture.Pixel(at, at), (TColor{255, 255, 255}));
}

// The file is the 880 x 880 picture as a BMP whatever the name's extension (the writer's test
// holds the headers' other fields), with the grid, the markers and the lobe.
TEST_F(ExportTest, FileShowsGridMarkersAndLobeOfTheInitialArray) {
    const TDiagramLabels labels = Picture.Draw(Model, 0);
    EXPECT_EQ(labels.Gain, "4,000  (6,02 дБ)");
    const std::string path = PathOf("diagram.png");
    Picture.Save(path);
    const std::string bmp = ReadBytes(path);
    ASSERT_EQ(bmp.size(), 3097654u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Read32(bmp, 18), 880u);
    EXPECT_EQ(Read32(bmp, 22), 880u);
    const struct {
        int X, Y;
        TRgb Colour;
        const char* What;
    } cases[] = {
        {0, 879, kWhite, "bottom-left corner"},
        {440, 40, TRgb{0, 0, 0}, "outer ring, north"},
        {440, 820, TRgb{0, 0, 0}, "south bearing line between the outer rings"},
        {648, 240, kRed, "outline of marker 1, east side"},
        {240, 632, kRed, "outline of marker 4, north side"},
        {635, 240, kWhite, "inside marker 1, beside its number"},
        {723, 157, kBlue, "main lobe at sample 225"},
        {860, 440, kWhite, "outside the outer ring"},
    };
    for (const auto& c : cases) EXPECT_EQ(FilePixel(bmp, c.X, c.Y), c.Colour) << c.What;
}

TEST_F(ExportTest, SecondExportKeepsNothingOfTheFirst) {
    Picture.Draw(Model, 0);
    Picture.Save(PathOf("first.bmp"));

    for (int k = 1; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = k == 6;
    Model.Emitter(6).X = -0.3L;
    Model.EnabledCount = 1;
    Picture.Draw(Model, 40);
    const std::string path = PathOf("second.bmp");
    Picture.Save(path);

    TExportPicture fresh;
    fresh.Draw(Model, 40);
    const std::string second = ReadBytes(path);
    EXPECT_TRUE(second == fresh.BmpBytes());
    EXPECT_EQ(FilePixel(second, 648, 240), kWhite);
}

TEST_F(ExportTest, ExistingFileIsReplacedWithoutTraces) {
    const std::string path = Earlier("diagram.bmp");
    EXPECT_EQ(SaveError(path), "");
    EXPECT_EQ(ReadBytes(path).size(), 3097654u);
    EXPECT_EQ(Entries(), TNames{"diagram.bmp"});
}

// A file that cannot be created, read-only included: the full path and the system's reason,
// and the earlier files stay as they were.
TEST_F(ExportTest, UncreatableFilesReportTheFullPathAndSystemText) {
    ASSERT_TRUE(std::filesystem::create_directory(Dir / "folder"));
    const std::string earlier = Earlier("earlier.bmp");
    const std::string locked = Earlier("locked.bmp");
    // Open to the unprivileged user, so that only the file's own bits refuse the export.
    std::filesystem::permissions(Dir, std::filesystem::perms::all);
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    const struct {
        std::string Name;
        std::string Reason;
    } cases[] = {
        {"missing/diagram.bmp", "No such file or directory"},
        {"folder", "Is a directory"},
        {"locked.bmp", "Permission denied"},
    };
    for (const auto& c : cases) {
        const std::string path = PathOf(c.Name.c_str());
        EXPECT_EQ(RunAsUnprivileged([&] { return SaveError(path); }),
                  "Cannot create file \"" + path + "\". " + c.Reason);
    }
    EXPECT_EQ(ReadBytes(earlier), "earlier picture");
    EXPECT_EQ(ReadBytes(locked), "earlier picture");
    EXPECT_EQ(Entries(), (TNames{"earlier.bmp", "folder", "locked.bmp"}));
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "folder"));
}

TEST_F(ExportTest, FailedWritesReportStreamWriteErrorAndKeepTheEarlierFile) {
    const std::string path = Earlier("diagram.bmp");
    long budget = 0;
    const TWriteFn fullDisk = [&budget](int fd, const void* data, std::size_t count) -> long {
        const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(budget));
        budget -= static_cast<long>(n);
        return n == 0 ? 0 : ::write(fd, data, n);
    };
    const TWriteFn denied = [](int, const void*, std::size_t) -> long {
        errno = EACCES;
        return -1;
    };
    const struct {
        const char* What;
        long Budget;
        TWriteFn Write;
    } cases[] = {
        {"disk full after the headers", 54, fullDisk},
        {"disk full mid-picture", 1500000, fullDisk},
        {"write refused", 0, denied},
    };
    for (const auto& c : cases) {
        budget = c.Budget;
        EXPECT_EQ(SaveError(path, c.Write), kStreamWriteErrorText) << c.What;
        EXPECT_EQ(ReadBytes(path), "earlier picture") << c.What;
        EXPECT_EQ(Entries(), TNames{"diagram.bmp"}) << c.What;
    }
}

}  // namespace
