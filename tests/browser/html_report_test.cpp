#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "clirunner.h"
#include "devtools.h"

// The report of two arrays over ground in headless Chromium, offline, driven as a reader
// would: real mouse events, a screenshot, a print to PDF.
namespace {

const std::string kFiles[] = {"four-square-over-average-ground.txt", "dipole-pair-over-ground.txt"};

class HtmlReportInBrowserTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        Dir = new TTempDir;
        std::vector<std::string> args = {"plot", "--kind", "report", Dir->Path("r.html")};
        for (const std::string& f : kFiles) {
            args.insert(args.end(), {"--config", std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + f});
        }
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        if (std::system("command -v chromium >/dev/null") != 0) {
            Error = "chromium is missing: install Debian's package chromium";
            return;
        }
        try {
            Browser = new TChromium(Dir->Path("profile"), 1280, 1000);
            Browser->Navigate("file://" + Dir->Path("r.html"));
        } catch (const std::exception& e) {
            Error = e.what();
        }
    }
    void SetUp() override { ASSERT_TRUE(Error.empty()) << Error; }
    // Whatever a test did, the page wrote nothing to its console.
    void TearDown() override {
        if (Browser == nullptr) return;
        std::string all;
        for (const std::string& m : Browser->Console()) all += m + "\n";
        EXPECT_TRUE(Browser->Console().empty()) << all;
    }
    static void TearDownTestSuite() {
        delete Browser;
        delete Dir;
    }
    static std::string Texts(const std::string& selector) {
        return Browser->Evaluate("[...document.querySelectorAll('" + selector +
                                 "')].map(t=>t.textContent).join('\\n')");
    }
    // The 3-D pane as a PNG, clipped to its canvas (page coordinates).
    static std::string PaneShot() {
        const TJson shot = Browser->Page("Page.captureScreenshot",
                                         R"({"format":"png","clip":{"x":)" +
                                             Browser->Evaluate("String(Pane().x)") + R"(,"y":)" +
                                             Browser->Evaluate("String(Pane().y+scrollY)") +
                                             R"(,"width":640,"height":480,"scale":1}})");
        return DecodeBase64(shot["data"].Text);
    }
    // Shows an array as the page's list picks it: "0", "1" or "all".
    static void Show(const std::string& value) {
        Browser->Evaluate("{const p=document.getElementById('pick');p.value='" + value +
                          "';p.dispatchEvent(new Event('change'));''}");
    }
    // Moves the mouse onto the chart at (dx, dy) from its centre (the chart's pixels) and
    // returns what the read-out then says.
    static std::string ReadoutAt(const std::string& chart, int dx, int dy) {
        const std::string at = Browser->Evaluate(
            "{const s=document.querySelector('" + chart +
            "');s.scrollIntoView();const p=s.createSVGPoint();p.x=+s.dataset.cx+" +
            std::to_string(dx) + ";p.y=+s.dataset.cy+" + std::to_string(dy) +
            ";const q=p.matrixTransform(s.getScreenCTM());Math.round(q.x)+','+Math.round(q.y)}");
        const std::size_t comma = at.find(',');
        Browser->Page("Input.dispatchMouseEvent", R"({"type":"mouseMoved","x":)" +
                                                      at.substr(0, comma) + R"(,"y":)" +
                                                      at.substr(comma + 1) + "}");
        return Browser->Evaluate("document.querySelector('" + chart +
                                 "').parentNode.querySelector('.readout').textContent");
    }
    static inline TTempDir* Dir = nullptr;
    static inline TChromium* Browser = nullptr;
    static inline std::string Error;
};

TEST_F(HtmlReportInBrowserTest, EveryPolarChartHasAtLeastTwelveTextLabels) {
    const std::string counts = Browser->Evaluate(
        "[...document.querySelectorAll('svg.chart.polar')].map(s=>s.querySelectorAll('text')"
        ".length).join(' ')");
    std::istringstream in(counts);
    int charts = 0;
    for (int n; in >> n; ++charts) EXPECT_GE(n, 12) << counts;
    EXPECT_EQ(charts, 3) << "one a file and the overlay";
}

TEST_F(HtmlReportInBrowserTest, LabelsHoldBearingsCompassLettersAndDecibels) {
    const std::string polar = Texts("section.file svg.chart.polar text");
    for (int b = 0; b < 360; b += 30) {
        EXPECT_NE(polar.find("\n" + std::to_string(b) + "\n"), std::string::npos) << b;
    }
    EXPECT_TRUE(std::regex_search(polar, std::regex("\n-?\u2212?[0-9]+ dBi?\n"))) << polar;
    EXPECT_NE(Texts("#space text").find("dB"), std::string::npos);
    EXPECT_EQ(Browser->Evaluate("TEXT.compass.join('')"), "NESW");
}

TEST_F(HtmlReportInBrowserTest, TheOverlayLegendNamesBothFilesInTheirColours) {
    for (const char* chart : {"polar", "rect", "elevation"}) {
        const std::string names = Browser->Evaluate(
            std::string("[...document.querySelectorAll('#overlay svg.chart.") + chart +
            " text')].filter(t=>t.textContent.includes('.txt')).map(t=>t.getAttribute('fill')+' '"
            "+t.textContent).join('\\n')");
        for (const std::string& f : kFiles) EXPECT_NE(names.find(f), std::string::npos) << names;
        EXPECT_TRUE(std::regex_search(names, std::regex("#[0-9a-f]{6} " + kFiles[0]))) << names;
    }
}

TEST_F(HtmlReportInBrowserTest, EachFileHasOneElevationChartWithItsTakeOffMarks) {
    EXPECT_EQ(Browser->Evaluate("[...document.querySelectorAll('section.file svg.chart.elevation')]"
                                ".map(s=>s.dataset.files).join(' ')"),
              "0 1");
    EXPECT_NE(Texts("section.file svg.chart.elevation text").find("Elevation, deg"),
              std::string::npos);
}

TEST_F(HtmlReportInBrowserTest, ThePointerReadsTheBearingOrElevationAndEachFilesLevel) {
    Show("all");
    struct TCase {
        const char* Chart;
        int Dx, Dy;
        const char* Where;
    };
    for (const TCase& c : {TCase{"#overlay svg.chart.polar", 100, 0, "bearing 90 deg\n"},
                           TCase{"#overlay svg.chart.polar", 0, 100, "bearing 180 deg\n"},
                           TCase{"#overlay svg.chart.elevation", 87, -50, "elevation 30 deg\n"}}) {
        const std::string said = ReadoutAt(c.Chart, c.Dx, c.Dy);
        EXPECT_EQ(said.rfind(c.Where, 0), 0u) << said;
        for (const std::string& f : kFiles) EXPECT_NE(said.find(f + ": "), std::string::npos);
        EXPECT_TRUE(std::regex_search(said, std::regex(": -?[0-9]+\\.[0-9]{2} dB"))) << said;
    }
}

TEST_F(HtmlReportInBrowserTest, AMouseDragOverThe3dPaneTurnsItAndTheSwitchChangesIt) {
    Show("0");
    Browser->Evaluate(
        "window.Pane=()=>document.querySelector('#three canvas')"
        ".getBoundingClientRect();document.getElementById('three')"
        ".scrollIntoView();''");
    const std::string still = PaneShot();
    ASSERT_GT(still.size(), 1000u);
    ASSERT_EQ(PaneShot(), still) << "the pane changes by itself";
    const std::string x = Browser->Evaluate("String(Pane().x+320)");
    const std::string y = Browser->Evaluate("String(Pane().y+240)");
    const auto at = [&](const char* type, int dx, int dy, const char* extra) {
        const int px = std::stoi(x) + dx;
        const int py = std::stoi(y) + dy;
        Browser->Page("Input.dispatchMouseEvent",
                      std::string(R"({"type":")") + type + R"(","x":)" + std::to_string(px) +
                          R"(,"y":)" + std::to_string(py) + R"(,"button":"left")" + extra + "}");
    };
    at("mousePressed", 0, 0, R"(,"buttons":1,"clickCount":1)");
    for (int k = 1; k <= 10; ++k) at("mouseMoved", 15 * k, 4 * k, R"(,"buttons":1)");
    at("mouseReleased", 150, 40, R"(,"clickCount":1)");
    const std::string turned = PaneShot();
    EXPECT_NE(turned, still) << "a drag does not turn the view";
    EXPECT_EQ(Browser->Evaluate("document.getElementById('shown').textContent"),
              "\u2014 " + kFiles[0]);
    Show("1");
    EXPECT_NE(PaneShot(), turned);
    EXPECT_EQ(Browser->Evaluate("document.getElementById('shown').textContent"),
              "\u2014 " + kFiles[1]);
}

TEST_F(HtmlReportInBrowserTest, APrintToPdfHoldsTheBearingsAndDecibelLabels) {
    const TJson pdf = Browser->Page("Page.printToPDF", R"({"printBackground":true})");
    const std::string path = Dir->Path("r.pdf");
    std::ofstream(path, std::ios::binary) << DecodeBase64(pdf["data"].Text);
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 " + path + " " + Dir->Path("r.txt")).c_str()), 0)
        << "pdftotext is missing: install Debian's package poppler-utils";
    const std::string text = ReadBytes(Dir->Path("r.txt"));
    for (const char* label : {"330", "300", "150", "Bearing, deg", "Elevation, deg"}) {
        EXPECT_NE(text.find(label), std::string::npos) << label;
    }
    EXPECT_TRUE(std::regex_search(text, std::regex("\u2212[0-9]+ dBi?"))) << text.substr(0, 2000);
    // On paper the 3-D pane gives way to a picture of its own, every file's.
    EXPECT_EQ(Browser->Evaluate("String(document.querySelectorAll('.printed3d svg').length)"), "2");
}

}  // namespace
