#pragma once
// The controls of a form: a tree of named rectangles with text, visibility and a look.
// Changing what a control shows asks its form to be repainted; the screen draws the tree.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

class TForm;

class TObject {
public:
    virtual ~TObject() = default;
};

struct TColor {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(TColor, TColor) = default;
};

constexpr TColor clBlack{0, 0, 0};
constexpr TColor clWhite{255, 255, 255};
constexpr TColor clRed{255, 0, 0};
constexpr TColor clGray{128, 128, 128};

struct TFont {
    int height = 16;  // character height in pixels
    bool bold = false;
    TColor color = clBlack;
    friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlignment : uint8_t { Left, Right, Center };
enum class TButtonLayout : uint8_t { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };
// The side buttons' pictures; the screen draws them.
enum class TGlyph : uint8_t { None, Cross, Eraser, BackArrow, Check, Globe };
enum class TControlKind : uint8_t { Form, Shape, Label, Panel, Button, PageHolder };

// How a control is drawn, apart from its text, place and state: one value, so a screen tells a
// changed look by comparing two of them, whatever field a control gains.
struct TLook {
    TColor color = clWhite;
    TColor border_color = clBlack;
    int border_width = 0;
    TFont font{};
    TAlignment alignment = TAlignment::Left;
    bool transparent = false;
    bool word_wrap = false;
    bool auto_size = false;
    // Buttons.
    TGlyph glyph = TGlyph::None;
    TButtonLayout layout = TButtonLayout::GlyphLeft;
    int margin = -1;
    int spacing = 4;
    TColor down_color = clBlack;
    TColor down_font_color = clWhite;
    TColor disabled_color{204, 204, 204};
    TColor disabled_font_color = clWhite;
    friend bool operator==(const TLook&, const TLook&) = default;
};

class TControl : public TObject {
public:
    TControl(TControl* parent, std::string name, TControlKind kind);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const { return name_; }
    TControlKind Kind() const { return kind_; }
    TControl* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<TControl>>& Children() const { return children_; }
    // The named control in this tree, or nullptr.
    TControl* FindComponent(const std::string& name);
    // Whether control is this one or stands anywhere below it; never dereferences control.
    bool Contains(const TControl* control) const;

    void SetText(std::string text);
    const std::string& GetText() const { return text_; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    // Visible, and so are all its parents.
    bool Showing() const;
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left);
    void SetTop(int top);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Position in the form's client area.
    int FormLeft() const;
    int FormTop() const;

    // Repaints the form at once.
    void Refresh();
    TForm* Form();

    // Every change of what a control shows goes through these setters, so the form repaints.
    void SetLook(const TLook& look);
    const TLook& Look() const { return look_; }

    int32_t Tag = 0;

    std::function<void(TObject* sender)> OnClick;
    void Click();

    template <typename Control, typename... Args>
    Control& Add(Args&&... args)
    {
        auto child = std::make_unique<Control>(this, std::forward<Args>(args)...);
        Control& made = *child;
        children_.push_back(std::move(child));
        Changed();
        return made;
    }

protected:
    void Changed();

private:
    TControl* parent_;
    std::string name_;
    TControlKind kind_;
    std::vector<std::unique_ptr<TControl>> children_;
    std::string text_;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TLook look_;
};

struct TShape : TControl {
    TShape(TControl* parent, std::string name) : TControl(parent, std::move(name), TControlKind::Shape) {}
};
struct TLabel : TControl {
    TLabel(TControl* parent, std::string name) : TControl(parent, std::move(name), TControlKind::Label) {}
};
struct TPanel : TControl {
    TPanel(TControl* parent, std::string name) : TControl(parent, std::move(name), TControlKind::Panel) {}
};
// The host's rounded button: filled with its colour, drawn in DownColor while pressed.
struct TBlendedBitBtn : TControl {
    TBlendedBitBtn(TControl* parent, std::string name) : TControl(parent, std::move(name), TControlKind::Button) {}
};
// Holds one keypad.
struct TNotebook : TControl {
    TNotebook(TControl* parent, std::string name) : TControl(parent, std::move(name), TControlKind::PageHolder) {}
};

}  // namespace host
