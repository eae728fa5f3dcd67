// A kept window buffer drawn again only where something changed shows the same pixels as the form
// drawn whole, and so does a show drawn from the last show's picture.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "host/forms/controls.h"
#include "host/forms/form.h"
#include "host/screens/win32/form_buffer.h"
#include "host/screens/win32/gdi_objects.h"

namespace {

using namespace host;
using host::win32::FormBuffer;
using host::win32::Picture;

struct Sample {
    TForm form{"frmSample"};
    TPanel& panel = form.Add<TPanel>("Panel1");
    TLabel& line = panel.Add<TLabel>("lblInforma");
    TLabel& sized = form.Add<TLabel>("lblSized");
    TBlendedBitBtn& key = form.Add<TBlendedBitBtn>("sbt5");

    Sample()
    {
        form.SetBounds(0, 0, 300, 160);
        form.SetLook({.color = TColor{0, 64, 128}});
        panel.SetBounds(8, 8, 280, 40);
        line.SetBounds(4, 8, 272, 24);
        line.SetText("123");
        sized.SetBounds(10, 60, 40, 20);
        sized.SetLook({.transparent = true, .auto_size = true});
        sized.SetText("A LONG CAPTION");
        key.SetBounds(200, 90, 60, 46);
        key.SetText("5");
        key.SetLook({.color = TColor{255, 140, 0}});
        // A form not shown draws nothing, and every case would compare black with black.
        form.SetVisible(true);
    }
};

bool SamePixels(const Picture& a, const Picture& b)
{
    GdiFlush();
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<std::size_t>(a.Width()) * a.Height() * 4) == 0;
}

TEST(Win32FormBuffer, RedrawingWhatChangedGivesTheWholePicture)
{
    struct Case {
        const char* what;
        std::function<void(Sample&)> change;
        bool pressed;
    };
    const Case cases[] = {
        {"a character typed", [](Sample& s) { s.line.SetText("1234"); }, false},
        {"the line cleared", [](Sample& s) { s.line.SetText(""); }, false},
        {"a label sized to its text shrinks", [](Sample& s) { s.sized.SetText("A"); }, false},
        {"a colour", [](Sample& s) { s.line.SetLook({.color = clRed}); }, false},
        {"a font colour",
         [](Sample& s) {
             TLook look = s.key.Look();
             look.font.color = clRed;
             s.key.SetLook(look);
         },
         false},
        {"a control hidden", [](Sample& s) { s.panel.SetVisible(false); }, false},
        {"a control moved", [](Sample& s) { s.key.SetLeft(20); }, false},
        {"a key disabled", [](Sample& s) { s.key.SetEnabled(false); }, false},
        {"a key held down", [](Sample&) {}, true},
    };
    for (double scale : {1.0, 1.5}) {
        for (const Case& c : cases) {
            const host::win32::GdiplusSession gdiplus;
            Sample sample;
            const int width = static_cast<int>(300 * scale), height = static_cast<int>(160 * scale);
            FormBuffer kept;
            kept.Update(sample.form, width, height, scale, nullptr);
            c.change(sample);
            const TControl* pressed = c.pressed ? &sample.key : nullptr;
            const Picture& partly = kept.Update(sample.form, width, height, scale, pressed);
            FormBuffer fresh;
            EXPECT_TRUE(SamePixels(partly, fresh.Update(sample.form, width, height, scale, pressed)))
                << c.what << " at scale " << scale;

            // A show starts from the last show's picture: a customer typed in between, and the
            // next call begins with the change.
            Sample next;
            FormBuffer shows;
            shows.UpdateForShow(next.form, width, height, scale, nullptr);
            shows.KeepAsShown();
            next.line.SetText("99999");
            shows.Update(next.form, width, height, scale, nullptr);
            next.line.SetText("123");
            c.change(next);
            const Picture& shown = shows.UpdateForShow(next.form, width, height, scale, pressed);
            EXPECT_TRUE(SamePixels(shown, fresh.Update(next.form, width, height, scale, pressed)))
                << "a show after " << c.what << " at scale " << scale;
        }
    }
}

}  // namespace
