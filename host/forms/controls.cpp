#include "host/forms/controls.h"

#include "host/forms/form.h"

namespace host {

TControl::TControl(TControl* parent, std::string name, TControlKind kind)
    : parent_(parent), name_(std::move(name)), kind_(kind)
{
}

TControl* TControl::FindComponent(const std::string& name)
{
    if (name_ == name)
        return this;
    for (const auto& child : children_)
        if (TControl* found = child->FindComponent(name))
            return found;
    return nullptr;
}

bool TControl::Contains(const TControl* control) const
{
    if (control == this)
        return true;
    for (const auto& child : children_)
        if (child->Contains(control))
            return true;
    return false;
}

void TControl::SetText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    Changed();
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed();
}

void TControl::SetLook(const TLook& look)
{
    if (look == look_)
        return;
    look_ = look;
    Changed();
}

bool TControl::Showing() const
{
    for (const TControl* control = this; control != nullptr; control = control->parent_)
        if (!control->visible_)
            return false;
    return true;
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed();
}

void TControl::SetLeft(int left) { SetBounds(left, top_, width_, height_); }
void TControl::SetTop(int top) { SetBounds(left_, top, width_, height_); }

int TControl::FormLeft() const
{
    int left = 0;
    for (const TControl* control = this; control != nullptr && control->kind_ != TControlKind::Form; control = control->parent_)
        left += control->left_;
    return left;
}

int TControl::FormTop() const
{
    int top = 0;
    for (const TControl* control = this; control != nullptr && control->kind_ != TControlKind::Form; control = control->parent_)
        top += control->top_;
    return top;
}

TForm* TControl::Form()
{
    TControl* control = this;
    while (control->parent_ != nullptr)
        control = control->parent_;
    return control->kind_ == TControlKind::Form ? static_cast<TForm*>(control) : nullptr;
}

void TControl::Refresh()
{
    if (TForm* form = Form())
        form->Repaint();
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::Changed()
{
    if (TForm* form = Form())
        form->Invalidate();
}

}  // namespace host
