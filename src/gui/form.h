// A form: a window's content built from a stored description. It draws its
// controls in stacking order into its own pixel buffer, routes mouse input to
// the topmost visible control under the pointer (or to the control that holds
// the mouse capture), and runs its timers on the platform's timer ticks.
//
// Mouse routing:
//   - a left press captures the mouse for the control under the pointer; until
//     the left button is released every event goes to that control, with
//     coordinates that may lie outside it;
//   - a click is a left press and release on the same control: where the
//     button is released that control is still the topmost shown one; the
//     click comes before the mouse-up;
//   - other buttons do not capture;
//   - the capture also ends when the platform layer loses the mouse, and when
//     a left press comes while it is held (the release was lost).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/controls.h"
#include "gui/font.h"
#include "gui/form_description.h"
#include "gui/surface.h"

namespace gui {

// Bitmaps and fonts that descriptions name, as the program embeds them.
struct EmbeddedBitmap {
    const char* name;
    const std::uint8_t* data;  // a BMP file
    std::size_t size;
};

struct EmbeddedFont {
    const char* face;
    int pixelHeight;
    bool italic;
    const FontFace* font;
};

struct Resources {
    const EmbeddedBitmap* bitmaps;
    std::size_t bitmapCount;
    const EmbeddedFont* fonts;
    std::size_t fontCount;
};

// The names a form class offers its description: control references, which
// the form sets to the controls it creates, and handlers.
class Bindings {
public:
    void reference(const char* name, Image*& image) { fImages[name] = &image; }
    void reference(const char* name, Label*& label) { fLabels[name] = &label; }
    void reference(const char* name, Timer*& timer) { fTimers[name] = &timer; }

    template <class Owner>
    void handler(const char* name, Owner* owner, void (Owner::*method)()) {
        fNotify[name] = [owner, method] { (owner->*method)(); };
    }
    template <class Owner>
    void handler(const char* name, Owner* owner, void (Owner::*method)(ShiftState, int, int)) {
        fMove[name] = [owner, method](ShiftState shift, int x, int y) { (owner->*method)(shift, x, y); };
    }
    template <class Owner>
    void handler(const char* name, Owner* owner, void (Owner::*method)(MouseButton, ShiftState, int, int)) {
        fButton[name] = [owner, method](MouseButton button, ShiftState shift, int x, int y) {
            (owner->*method)(button, shift, x, y);
        };
    }

private:
    friend class Form;
    std::map<std::string, Image**> fImages;
    std::map<std::string, Label**> fLabels;
    std::map<std::string, Timer**> fTimers;
    std::map<std::string, NotifyEvent> fNotify;
    std::map<std::string, MouseMoveEvent> fMove;
    std::map<std::string, MouseButtonEvent> fButton;
};

class Form : public Surface, private Invalidator {
public:
    Form(int width, int height, std::uint32_t colour);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the described controls in order, sets the bound references and
    // connects the named handlers. Names that do not resolve (a control
    // without a reference, an unknown handler, bitmap or font, a handler of
    // the wrong kind for its event) are listed in bindingErrors(); the rest
    // of the form is built regardless.
    void build(const ControlDescription* description, std::size_t count, const Bindings& bindings,
               const Resources& resources);
    const std::vector<std::string>& bindingErrors() const { return fBindingErrors; }

    // The topmost shown control at a client position, or null.
    Control* controlAt(int x, int y) const;
    // The control holding the mouse capture, or null.
    Control* captured() const { return fCapture; }

    // Surface
    int width() const override { return fWidth; }
    int height() const override { return fHeight; }
    const std::uint32_t* render() override;
    bool needsRender() const override { return fDirty; }
    void mouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void mouseMove(ShiftState shift, int x, int y) override;
    void mouseUp(MouseButton button, ShiftState shift, int x, int y) override;
    void mouseCaptureLost() override { fCapture = nullptr; }
    Cursor cursorAt(int x, int y) const override;
    void timerTick() override;

private:
    void invalidate() override { fDirty = true; }
    Invalidator& invalidator() { return *this; }
    const Bitmap* loadBitmap(const char* name, const Resources& resources);
    const FontFace* findFont(const FontSpec& wanted, const Resources& resources) const;
    template <class Event, class Map>
    void connect(Event& event, const char* handler, const Map& handlers, const char* control);

    int fWidth;
    int fHeight;
    std::uint32_t fColour;
    std::vector<std::uint32_t> fPixels;
    bool fDirty = true;
    std::map<std::string, std::unique_ptr<Bitmap>> fBitmaps;
    std::vector<std::unique_ptr<Control>> fControls;  // bottom first
    std::vector<std::unique_ptr<Timer>> fTimers;
    std::vector<std::string> fBindingErrors;
    Control* fCapture = nullptr;
};

}  // namespace gui
