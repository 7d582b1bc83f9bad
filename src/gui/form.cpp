#include "gui/form.h"

#include <cstring>
#include <utility>

#include "gui/canvas.h"

namespace gui {

Form::Form(int width, int height, std::uint32_t colour)
    : fWidth(width), fHeight(height), fColour(colour),
      fPixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour) {}

Form::~Form() = default;

// ---- Building ---------------------------------------------------------------

const Bitmap* Form::loadBitmap(const char* name, const Resources& resources) {
    if (auto found = fBitmaps.find(name); found != fBitmaps.end()) return found->second.get();
    for (std::size_t i = 0; i < resources.bitmapCount; ++i) {
        const EmbeddedBitmap& entry = resources.bitmaps[i];
        if (std::strcmp(entry.name, name) != 0) continue;
        auto bitmap = std::make_unique<Bitmap>();
        if (!decodeBmp(entry.data, entry.size, *bitmap)) break;
        return (fBitmaps[name] = std::move(bitmap)).get();
    }
    fBindingErrors.push_back(std::string("bitmap ") + name);
    return nullptr;
}

const FontFace* Form::findFont(const FontSpec& wanted, const Resources& resources) const {
    for (std::size_t i = 0; i < resources.fontCount; ++i) {
        const EmbeddedFont& entry = resources.fonts[i];
        if (std::strcmp(entry.face, wanted.face) == 0 && entry.pixelHeight == wanted.pixelHeight &&
            entry.italic == wanted.italic) {
            return entry.font;
        }
    }
    return nullptr;
}

template <class Event, class Map>
void Form::connect(Event& event, const char* handler, const Map& handlers, const char* control) {
    if (handler == nullptr) return;
    if (auto found = handlers.find(handler); found != handlers.end()) {
        event = found->second;
    } else {
        fBindingErrors.push_back(std::string("handler ") + handler + " of " + control);
    }
}

void Form::build(const ControlDescription* description, std::size_t count, const Bindings& bindings,
                 const Resources& resources) {
    for (std::size_t i = 0; i < count; ++i) {
        const ControlDescription& d = description[i];
        if (d.kind == ControlKind::Timer) {
            auto timer = std::make_unique<Timer>(d.name, d.intervalMs, d.visible);
            connect(timer->onTimer, d.onTimer, bindings.fNotify, d.name);
            if (auto ref = bindings.fTimers.find(d.name); ref != bindings.fTimers.end()) {
                *ref->second = timer.get();
            } else {
                fBindingErrors.push_back(std::string("reference ") + d.name);
            }
            fTimers.push_back(std::move(timer));
            continue;
        }

        std::unique_ptr<Control> control;
        bool referenced = false;
        if (d.kind == ControlKind::Image) {
            const Bitmap* bitmap = d.bitmap.name ? loadBitmap(d.bitmap.name, resources) : nullptr;
            auto image = std::make_unique<Image>(invalidator(), d.name, d.bounds, d.cursor, d.visible, bitmap,
                                                 d.bitmap.transparent);
            if (auto ref = bindings.fImages.find(d.name); ref != bindings.fImages.end()) {
                *ref->second = image.get();
                referenced = true;
            }
            control = std::move(image);
        } else {
            const FontFace* font = findFont(d.font, resources);
            if (font == nullptr) fBindingErrors.push_back(std::string("font of ") + d.name);
            auto label = std::make_unique<Label>(invalidator(), d.name, d.bounds, d.cursor, d.visible, font, d.font.colour,
                                                 d.caption ? d.caption : "");
            if (auto ref = bindings.fLabels.find(d.name); ref != bindings.fLabels.end()) {
                *ref->second = label.get();
                referenced = true;
            }
            control = std::move(label);
        }
        if (!referenced) fBindingErrors.push_back(std::string("reference ") + d.name);

        connect(control->onClick, d.onClick, bindings.fNotify, d.name);
        connect(control->onMouseDown, d.onMouseDown, bindings.fButton, d.name);
        connect(control->onMouseMove, d.onMouseMove, bindings.fMove, d.name);
        connect(control->onMouseUp, d.onMouseUp, bindings.fButton, d.name);
        fControls.push_back(std::move(control));
    }
    fDirty = true;
}

// ---- Drawing ----------------------------------------------------------------

const std::uint32_t* Form::render() {
    if (fDirty) {
        Canvas canvas(fPixels.data(), fWidth, fHeight);
        canvas.fill({0, 0, fWidth, fHeight}, fColour);
        for (const auto& control : fControls) {
            if (control->visible()) control->paint(canvas);
        }
        fDirty = false;
    }
    return fPixels.data();
}

// ---- Mouse --------------------------------------------------------------------

Control* Form::controlAt(int x, int y) const {
    for (auto it = fControls.rbegin(); it != fControls.rend(); ++it) {
        Control* control = it->get();
        if (control->visible() && control->bounds().contains(x, y)) return control;
    }
    return nullptr;
}

void Form::mouseDown(MouseButton button, ShiftState shift, int x, int y) {
    // The left button cannot go down twice: a capture held now lost its release.
    if (button == MouseButton::Left) fCapture = nullptr;
    Control* target = fCapture ? fCapture : controlAt(x, y);
    if (target == nullptr) return;
    if (button == MouseButton::Left) fCapture = target;
    if (target->onMouseDown) target->onMouseDown(button, shift, x - target->left(), y - target->top());
}

void Form::mouseMove(ShiftState shift, int x, int y) {
    Control* target = fCapture ? fCapture : controlAt(x, y);
    if (target == nullptr) return;
    if (target->onMouseMove) target->onMouseMove(shift, x - target->left(), y - target->top());
}

void Form::mouseUp(MouseButton button, ShiftState shift, int x, int y) {
    Control* target = fCapture ? fCapture : controlAt(x, y);
    if (target == nullptr) return;
    // Local copies: a handler may hide the control or change its position.
    const int localX = x - target->left();
    const int localY = y - target->top();
    if (button == MouseButton::Left && fCapture != nullptr) {
        fCapture = nullptr;
        if (controlAt(x, y) == target && target->onClick) target->onClick();
    }
    if (target->onMouseUp) target->onMouseUp(button, shift, localX, localY);
}

Cursor Form::cursorAt(int x, int y) const {
    const Control* target = fCapture ? fCapture : controlAt(x, y);
    return target ? target->cursor() : Cursor::Arrow;
}

// ---- Timer --------------------------------------------------------------------

void Form::timerTick() {
    for (const auto& timer : fTimers) {
        if (timer->enabled() && timer->onTimer) timer->onTimer();
    }
}

}  // namespace gui
