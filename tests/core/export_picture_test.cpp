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
#include "model/pattern.h"
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
        Model = MakeInitialArray();
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
        Picture.Draw(Model, ComputePattern(Model, {TFieldModel::Window, 0}), 0);
        try {
            Picture.Save(path, write);
        } catch (const EHandlerError& e) {
            return e.what();
        }
        return {};
    }

    TDecimalMarkScope Comma;
    TArray Model;
    TExportPicture Picture;
};

TEST_F(ExportTest, PictureIsWhiteAtCreation) {
    for (const int at : {0, 440, 879}) EXPECT_EQ(Picture.Pixel(at, at), (TColor{255, 255, 255}));
}

// The file is the 880 x 880 picture as a BMP whatever the name's extension (the writer's test
// holds the headers' other fields), with the grid, the markers and the lobe.
TEST_F(ExportTest, FileShowsGridMarkersAndLobeOfTheInitialArray) {
    const TDiagramLabels labels = Picture.Draw(Model, ComputePattern(Model, {TFieldModel::Window, 0}), 0);
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
    Picture.Draw(Model, ComputePattern(Model, {TFieldModel::Window, 0}), 0);
    Picture.Save(PathOf("first.bmp"));

    for (int k = 1; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = k == 6;
    Model.Emitter(6).X = -0.3L;
    Picture.Draw(Model, ComputePattern(Model, {TFieldModel::Window, 40}), 40);
    const std::string path = PathOf("second.bmp");
    Picture.Save(path);

    TExportPicture fresh;
    fresh.Draw(Model, ComputePattern(Model, {TFieldModel::Window, 40}), 40);
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

// Whatever stops an export, the window's text says why (the full path and the system's reason
// when the file cannot be created, a stream write error after that), and every earlier file
// stays as it was.
TEST_F(ExportTest, FailedExportsSayWhyAndKeepTheEarlierFiles) {
    ASSERT_TRUE(std::filesystem::create_directory(Dir / "folder"));
    const std::string earlier = Earlier("diagram.bmp");
    const std::string locked = Earlier("locked.bmp");
    // Open to the unprivileged user, so that only the file's own bits refuse the export.
    std::filesystem::permissions(Dir, std::filesystem::perms::all);
    ASSERT_EQ(chmod(earlier.c_str(), 0666), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
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
    const auto cannotCreate = [this](const char* name, const char* reason) {
        return "Cannot create file \"" + PathOf(name) + "\". " + reason;
    };
    const struct {
        const char* What;
        std::string Name;
        long Budget;
        TWriteFn Write;
        std::string Error;
    } cases[] = {
        {"missing folder",
         "missing/diagram.bmp",
         0,
         {},
         cannotCreate("missing/diagram.bmp", "No such file or directory")},
        {"a folder", "folder", 0, {}, cannotCreate("folder", "Is a directory")},
        {"read-only file", "locked.bmp", 0, {}, cannotCreate("locked.bmp", "Permission denied")},
        {"disk full after the headers", "diagram.bmp", 54, fullDisk, kStreamWriteErrorText},
        {"disk full mid-picture", "diagram.bmp", 1500000, fullDisk, kStreamWriteErrorText},
        {"write refused", "diagram.bmp", 0, denied, kStreamWriteErrorText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        budget = c.Budget;
        EXPECT_EQ(RunAsUnprivileged([&] { return SaveError(PathOf(c.Name.c_str()), c.Write); }),
                  c.Error);
        EXPECT_EQ(ReadBytes(earlier), "earlier picture");
        EXPECT_EQ(ReadBytes(locked), "earlier picture");
        EXPECT_EQ(Entries(), (TNames{"diagram.bmp", "folder", "locked.bmp"}));
        EXPECT_TRUE(std::filesystem::is_empty(Dir / "folder"));
    }
}

}  // namespace
