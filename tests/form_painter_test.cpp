// The one painter of both window screens, on a canvas that writes down what it is asked to draw:
// where a button's picture and caption go for every layout, in every state, with every clip and
// transform it pushes taken off again.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "host/forms/controls.h"
#include "host/forms/form.h"
#include "host/screens/canvas.h"
#include "host/screens/form_painter.h"
#include "host/screens/glyphs.h"

namespace {

using namespace host;

// Text is 8 pixels a byte and 16 high, on one line.
class RecordingCanvas final : public Canvas {
public:
    struct Caption {
        Rect box;
        TColor color;
    };
    std::vector<Rect> clips;
    std::vector<RectF> rounded;
    std::vector<Ink> rounded_inks;
    std::vector<Caption> captions;
    std::vector<Ink> stroke_inks;
    int open_clips = 0;
    int open_transforms = 0;

    void PushClip(Rect rect) override
    {
        clips.push_back(rect);
        ++open_clips;
    }
    void PopClip() override { --open_clips; }
    bool Reaches(Rect) const override { return true; }
    void PushTransform(PointF, float) override { ++open_transforms; }
    void PopTransform() override { --open_transforms; }
    void Fill(Rect, TColor) override {}
    Size LineSize(const std::string& text, const TFont&) override { return {8 * static_cast<int>(text.size()), 16}; }
    Size WrappedSize(const std::string& text, const TFont& font, int) override { return LineSize(text, font); }
    void Text(Rect box, const std::string&, const TFont&, TColor color, TextLayout) override
    {
        captions.push_back({box, color});
    }
    void FillRoundedRect(RectF rect, float, Ink ink) override
    {
        rounded.push_back(rect);
        rounded_inks.push_back(ink);
    }
    void StrokeRoundedRect(RectF, float, Pen pen) override { stroke_inks.push_back(pen.ink); }
    void StrokeLine(PointF, PointF, Pen pen) override { stroke_inks.push_back(pen.ink); }
    void StrokePolyline(std::span<const PointF>, Pen pen) override { stroke_inks.push_back(pen.ink); }
    void StrokeEllipse(PointF, float, float, Pen pen) override { stroke_inks.push_back(pen.ink); }
    void StrokeCurve(PointF, PointF, PointF, Pen pen) override { stroke_inks.push_back(pen.ink); }

    // Where the glyph's box was clipped, if a glyph was drawn.
    std::optional<Point> GlyphAt() const
    {
        for (const Rect& clip : clips)
            if (clip.width == kGlyphSize && clip.height == kGlyphSize)
                return Point{clip.left, clip.top};
        return std::nullopt;
    }
};

struct Probe {
    TForm form{"frmProbe"};
    TBlendedBitBtn& button = form.Add<TBlendedBitBtn>("sbtProbe");

    Probe(const char* caption, TLook look)
    {
        form.SetBounds(0, 0, 200, 100);
        button.SetBounds(10, 20, 100, 60);
        button.SetText(caption);
        button.SetLook(look);
        form.SetVisible(true);
    }
};

TEST(FormPainter, PlacesTheButtonsPictureAndCaptionForEveryLayout)
{
    struct Case {
        const char* what;
        const char* caption;
        TGlyph glyph;
        TButtonLayout layout;
        int margin;
        int spacing;
        std::optional<Point> glyph_at;
        std::optional<Point> caption_at;
    };
    // The button stands at 10, 20 and is 100 x 60; "OK" is 16 x 16, the glyph 34 x 34.
    using enum TButtonLayout;
    constexpr TGlyph kCheck = TGlyph::Check;
    const Case cases[] = {
        {"left of the caption, centred", "OK", kCheck, GlyphLeft, -1, 4, Point{33, 33}, Point{71, 42}},
        {"right of the caption, centred", "OK", kCheck, GlyphRight, -1, 4, Point{53, 33}, Point{33, 42}},
        {"above the caption, centred", "OK", kCheck, GlyphTop, -1, 4, Point{43, 23}, Point{52, 61}},
        {"below the caption, centred", "OK", kCheck, GlyphBottom, -1, 4, Point{43, 43}, Point{52, 23}},
        {"left, at its margin", "OK", kCheck, GlyphLeft, 5, 4, Point{15, 33}, Point{53, 42}},
        {"right, at its margin", "OK", kCheck, GlyphRight, 5, 4, Point{71, 33}, Point{51, 42}},
        {"above, at its margin", "OK", kCheck, GlyphTop, 5, 1, Point{43, 25}, Point{52, 60}},
        {"below, at its margin (Confirmar)", "OK", kCheck, GlyphBottom, 5, 1, Point{43, 41}, Point{52, 24}},
        {"no glyph: the caption alone, centred", "OK", TGlyph::None, GlyphRight, -1, 4, std::nullopt, Point{52, 42}},
        {"no caption: the glyph alone, centred", "", kCheck, GlyphRight, -1, 4, Point{43, 33}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Probe probe(c.caption, {.glyph = c.glyph, .layout = c.layout, .margin = c.margin, .spacing = c.spacing});
        RecordingCanvas canvas;
        FormPainter(canvas, nullptr).PaintForm(probe.form, {});
        EXPECT_EQ(canvas.GlyphAt(), c.glyph_at);
        if (c.caption_at) {
            ASSERT_EQ(canvas.captions.size(), 1u);
            EXPECT_EQ(canvas.captions[0].box, (Rect{c.caption_at->x, c.caption_at->y, 16, 16}));
        } else {
            EXPECT_TRUE(canvas.captions.empty());
        }
        ASSERT_EQ(canvas.rounded.size(), 1u);
        EXPECT_EQ(canvas.rounded[0], (RectF{10, 20, 100, 60}));
        EXPECT_EQ(canvas.open_clips, 0);
        EXPECT_EQ(canvas.open_transforms, 0);
    }
}

TEST(FormPainter, ButtonStatesChooseFillInkAndAFadedGlyph)
{
    struct Case {
        const char* what;
        bool enabled;
        bool pressed;
        TColor fill;
        TColor ink;
        uint8_t glyph_alpha;
    };
    constexpr TColor kFill{10, 20, 30}, kInk{40, 50, 60}, kDown{70, 80, 90}, kDownInk{100, 110, 120},
        kDisabled{130, 140, 150}, kDisabledInk{160, 170, 180};
    const Case cases[] = {
        {"at rest", true, false, kFill, kInk, 255},
        {"held down", true, true, kDown, kDownInk, 255},
        {"disabled", false, false, kDisabled, kDisabledInk, 150},
        {"disabled, under a press", false, true, kDisabled, kDisabledInk, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Probe probe("OK", {.color = kFill,
                           .font = {16, true, kInk},
                           .glyph = TGlyph::Globe,
                           .down_color = kDown,
                           .down_font_color = kDownInk,
                           .disabled_color = kDisabled,
                           .disabled_font_color = kDisabledInk});
        probe.button.SetEnabled(c.enabled);
        RecordingCanvas canvas;
        FormPainter(canvas, c.pressed ? &probe.button : nullptr).PaintForm(probe.form, {});
        ASSERT_EQ(canvas.rounded_inks.size(), 1u);
        EXPECT_EQ(canvas.rounded_inks[0], (Ink{c.fill, 255}));
        ASSERT_EQ(canvas.captions.size(), 1u);
        EXPECT_EQ(canvas.captions[0].color, c.ink);
        ASSERT_FALSE(canvas.stroke_inks.empty());
        for (const Ink ink : canvas.stroke_inks)
            EXPECT_EQ(ink, (Ink{c.ink, c.glyph_alpha}));
    }
}

}  // namespace
