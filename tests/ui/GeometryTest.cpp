// Every control of every dialog template sits where its template puts it, converted from dialog
// units with the template's font as the system's dialog manager converts them; whatever the
// backend, a control that moved or took another size shows here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "dialogkit/Dialog.h"
#include "dialogkit/TestDriver.h"
#include "res/Templates.h"
#include "ui/EditorApp.h"

namespace vorlane::test {

CEditorApp& testApp();

namespace {

namespace drive = dk::driver;

std::string describe(const dk::Rect& r) {
    std::ostringstream out;
    out << '(' << r.left << ',' << r.top << ' ' << r.width() << 'x' << r.height() << ')';
    return out.str();
}

struct TemplateCase {
    const char* name;
    const dk::DialogTemplate* dialog;
};

void PrintTo(const TemplateCase& c, std::ostream* out) {
    *out << c.name;
}

class GeometryTest : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(GeometryTest, EveryControlSitsAtItsTemplateRectangle) {
    registerEditorResources(testApp());  // the icon of the About box
    const dk::DialogTemplate& tmpl = *GetParam().dialog;
    dk::CDialog dialog(tmpl);
    ASSERT_TRUE(dialog.Create());
    const dk::WindowHandle window = dialog.window();
    const std::vector<dk::WindowHandle> shown = drive::allControls(window);
    ASSERT_EQ(shown.size(), tmpl.controls.size());
    // The dialog's own client area is the template's size too.
    const dk::Rect client = drive::dialogUnitsToPixels(window, dk::Rect{0, 0, tmpl.cx, tmpl.cy});
    EXPECT_GT(client.width(), tmpl.cx) << "a dialog unit is more than a pixel wide";
    for (size_t i = 0; i < shown.size(); ++i) {
        const dk::ControlTemplate& c = tmpl.controls[i];
        const dk::Rect expected =
            drive::dialogUnitsToPixels(window, dk::Rect{c.x, c.y, c.x + c.cx, c.y + c.cy});
        const dk::Rect actual = drive::geometry(shown[i]);
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " id " + std::to_string(c.id) +
                     " \"" + c.text + "\": expected " + describe(expected) + ", is " +
                     describe(actual));
        switch (c.kind) {
            case dk::ControlKind::ComboBox:
                // The template's height is the opened list's; the closed box takes the height
                // the system gives it for its font: at least one line of the dialog font (8 dialog
                // units), less than the list.
                EXPECT_EQ(describe({actual.left, actual.top, actual.right, 0}),
                          describe({expected.left, expected.top, expected.right, 0}));
                EXPECT_GE(actual.height(),
                          drive::dialogUnitsToPixels(window, dk::Rect{0, 0, 0, 8}).height());
                EXPECT_LT(actual.height(), expected.height());
                break;
            case dk::ControlKind::Icon:
                // An icon control takes its icon's own size at the template's corner.
                EXPECT_EQ(describe(actual), describe({expected.left, expected.top,
                                                      expected.left + 32, expected.top + 32}));
                break;
            default:
                EXPECT_EQ(describe(actual), describe(expected));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, GeometryTest,
                         ::testing::Values(TemplateCase{"Main", &res::kMainDialog},
                                           TemplateCase{"About", &res::kAboutDialog},
                                           TemplateCase{"Font", &res::kFontDialog},
                                           TemplateCase{"Glyph", &res::kGlyphDialog},
                                           TemplateCase{"Compare", &res::kCompareDialog},
                                           TemplateCase{"Check", &res::kCheckDialog},
                                           TemplateCase{"Subsys", &res::kSubsysDialog}),
                         [](const ::testing::TestParamInfo<TemplateCase>& info) {
                             return info.param.name;
                         });

}  // namespace

}  // namespace vorlane::test
