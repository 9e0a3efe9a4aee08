#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QUndoStack>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/inputerror.h"
#include "config/cp1251.h"
#include "model/phaseangle.h"
#include "studio/document.h"
#include "studio/studiostate.h"

namespace {

TEST(StudioDocumentTest, TheRequestKeepsALoneEmitterOnWhateverItsNumber) {
    TStudioDocument d = InitialDocument();
    for (int k = 1; k <= kEmitterCount; ++k) d.Array.Emitter(k).Enabled = k == 8;
    d.Array.Emitter(8).X = 0.5L;
    const TPatternResult result = *Analyse(CaseOf(d, std::nullopt)).Result;
    EXPECT_EQ(result.Session.Model.EnabledCount(), 1);
    EXPECT_TRUE(result.Session.Model.Emitter(8).Enabled);
    EXPECT_EQ(result.Session.Model.Emitter(8).X, 0.5L);
}

TEST(StudioDocumentTest, AGroundWithIsotropicEmittersCannotBeAnalysed) {
    TStudioState state;
    state.Edit("ground", [](TStudioDocument& d) { d.Ground.Kind = TGroundKind::Perfect; });
    EXPECT_FALSE(state.Result().has_value());
    EXPECT_FALSE(state.Error().empty());
    state.Edit("type", [](TStudioDocument& d) { d.Array.EmitterType = etVerticalDipole; });
    ASSERT_TRUE(state.Result().has_value());
    EXPECT_EQ(state.Result()->Field.Model, TFieldModel::OverGround);
}

TEST(StudioStateTest, UndoRestoresTheEarlierDocumentBitForBit) {
    TStudioState state;
    const TStudioDocument start = state.Document();
    state.Edit("phase",
               [](TStudioDocument& d) { d.Array.Emitter(2).Phase = PhaseFromDegrees(30); });
    state.Edit("amplitude", [](TStudioDocument& d) { d.Array.Emitter(3).Amplitude = 0.3L; });
    const TStudioDocument middle = state.Document();
    EXPECT_EQ(state.UndoStack().count(), 2);
    state.UndoStack().undo();
    state.UndoStack().undo();
    EXPECT_TRUE(state.Document() == start);
    EXPECT_EQ(
        std::memcmp(&state.Document().Array.Emitter(2).Phase, &start.Array.Emitter(2).Phase, 10),
        0);
    state.UndoStack().redo();
    state.UndoStack().redo();
    EXPECT_TRUE(state.Document() == middle);
}

TEST(StudioStateTest, AWholeDragIsOneStepAndTheNextDragAnother) {
    TStudioState state;
    const TStudioDocument start = state.Document();
    for (const int gesture : {state.NewGesture(), state.NewGesture()}) {
        for (int step = 1; step <= 5; ++step) {
            state.Edit(
                "drag", [step](TStudioDocument& d) { d.Array.Emitter(1).X = step / 64.0L; },
                gesture);
        }
    }
    EXPECT_EQ(state.UndoStack().count(), 2);
    state.UndoStack().undo();
    EXPECT_EQ(state.Document().Array.Emitter(1).X, 5 / 64.0L);
    state.UndoStack().undo();
    EXPECT_TRUE(state.Document() == start);
}

TEST(StudioStateTest, AnEditThatChangesNothingLeavesNoStep) {
    TStudioState state;
    state.Edit("nothing", [](TStudioDocument&) {});
    EXPECT_EQ(state.UndoStack().count(), 0);
}

class StudioFileTest : public testing::Test {
  protected:
    void SetUp() override {
        Path = (std::filesystem::temp_directory_path() /
                ("studio-" + std::to_string(::getpid()) + ".txt"))
                   .string();
    }
    void TearDown() override { std::filesystem::remove(Path); }
    void Write(const std::string& utf8) {
        std::ofstream(Path, std::ios::binary) << Utf8ToCp1251(utf8).value();
    }
    std::string Read() const {
        std::stringstream text;
        text << std::ifstream(Path, std::ios::binary).rdbuf();
        return text.str();
    }
    std::string Path;
};

TEST_F(StudioFileTest, SavingKeepsUnknownLinesAndUntouchedValues) {
    Write(
        "; a note of the designer\r\n[Все излучатели]\r\nТип=1\r\nЦвет=синий\r\n"
        "[Излучатель 1]\r\nВключен=1\r\nX=0,1\r\nY=0\r\nФаза=0,3\r\n"
        "[Излучатель 2]\r\nВключен=1\r\nX=-0,1\r\nY=0\r\nФаза=0\r\n[Заметки]\r\nА=Б\r\n");
    const TOpenedDocument opened = OpenDocument(Path);
    const TStudioDocument d = opened.Document;
    // The window reads a file's numbers at double precision.
    EXPECT_EQ(d.Array.Emitter(1).Phase, 0.3);
    EXPECT_EQ(d.Array.EmitterType, etVerticalDipole);
    SaveDocument(d, Path);
    const std::string text = Read();
    for (const char* kept : {"; a note of the designer", "Цвет=синий", "[Заметки]", "А=Б"}) {
        EXPECT_NE(text.find(Utf8ToCp1251(kept).value()), std::string::npos) << kept;
    }
    EXPECT_TRUE(OpenDocument(Path).Document == d);
}

TEST_F(StudioFileTest, AGroundAndAmplitudesRoundTripThroughTheFile) {
    TStudioDocument d = InitialDocument();
    // Values a file writes and reads back exactly.
    for (int k = 1; k <= kEmitterCount; ++k) d.Array.Emitter(k).Phase = k / 8.0L;
    d.Array.EmitterType = etHorizontalDipoleWE;
    d.Ground.Kind = TGroundKind::Real;
    d.Ground.HeightWavelengths = 0.375L;
    d.Ground.FrequencyMhz = 14.25L;
    d.Ground.Permittivity = kSoils[4].Permittivity;
    d.Ground.Conductivity = kSoils[4].Conductivity;
    d.Soil = 4;
    d.Array.Emitter(2).Amplitude = 0.5L;
    SaveDocument(d, Path);
    EXPECT_TRUE(OpenDocument(Path).Document == d);
}

// Without a real ground the frequency still sizes a feed network and a sweep, and Z0 sets
// every SWR: they come back as saved, not as the defaults, and so do the elevation and the
// formula the studio shows.
TEST_F(StudioFileTest, EverySettingShownRoundTripsWithoutARealGround) {
    TStudioDocument d = InitialDocument();
    d.Ground.FrequencyMhz = 3.6;  // as a file holds it
    d.Wires.Z0 = 75;
    d.ElevationDegrees = 20;
    d.ElevationAtTakeoff = false;
    d.FreeSpaceModel = TFieldModel::FreeSpace;
    SaveDocument(d, Path);
    const TStudioDocument back = OpenDocument(Path).Document;
    EXPECT_EQ(back.Ground.FrequencyMhz, d.Ground.FrequencyMhz);
    EXPECT_EQ(back.Wires.Z0, 75);
    EXPECT_EQ(back.ElevationDegrees, 20);
    EXPECT_FALSE(back.ElevationAtTakeoff);
    EXPECT_EQ(back.FreeSpaceModel, TFieldModel::FreeSpace);
    // A bad value is refused with its line, not read as the default.
    Write("[Все излучатели]\r\nТип=1\r\nZ0=-5\r\n");
    EXPECT_THROW(OpenDocument(Path), EUsageError);
}

TEST_F(StudioFileTest, AFilesSoilIsKnownAsItsPreset) {
    Write(
        "[Все излучатели]\r\nТип=1\r\nЗемля=2\r\nВысота=0,25\r\nЧастота=7,1\r\n"
        "Проницаемость=5\r\nПроводимость=0,001\r\n");
    EXPECT_EQ(OpenDocument(Path).Document.Soil, 1);  // poor
}

// A fifo is read once, its wires too, while something writes to it; with no writer the open
// gives up after its wait and says why, rather than leaving the window blank.
TEST_F(StudioFileTest, AFifoOpensWhileWrittenAndGivesUpWithoutAWriter) {
    std::filesystem::remove(Path);
    ASSERT_EQ(::mkfifo(Path.c_str(), 0600), 0);
    const std::string text = Utf8ToCp1251(
                                 "[Все излучатели]\r\nТип=1\r\nРадиус=0,002\r\n"
                                 "[Излучатель 1]\r\nВключен=1\r\nДлина=0,5\r\n")
                                 .value();
    std::thread writer([&] { std::ofstream(Path, std::ios::binary) << text; });
    const TOpenedDocument opened = OpenDocument(Path, std::chrono::seconds(10));
    writer.join();
    EXPECT_EQ(opened.Document.Wires.Lengths[0], 0.5);
    EXPECT_EQ(opened.Document.Wires.Radius, 0.002);

    const auto start = std::chrono::steady_clock::now();
    try {
        OpenDocument(Path, std::chrono::milliseconds(300));
        ADD_FAILURE() << "a fifo without a writer opened";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("nothing was written to it within 1 second"),
                  std::string::npos)
            << e.what();
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

}  // namespace
