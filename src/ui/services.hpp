#pragma once
// The services a program's windows use, in one object: the wall clock, the random source, the
// font and picture caches, the sound output, the themed look and the message-box observer.
//
// One Services belongs to one Runtime (it is given to the runtime's constructor, the way the
// video backend is), so a test, a tool or the program sets up everything its windows use in
// one place, and two runtimes on two threads share nothing by accident. It is passed down, not
// looked up: every control reaches it through its ControlSite, a message box is handed it, the
// painting code is handed the caches it draws with. Code above the runtime (the game's handlers)
// reaches it through Runtime::current(), the runtime of the calling thread, which the game
// already uses for every property access; there is no other current-context pointer.
//
// It lives in ui, the lowest room that sees every service's interface; the game keeps what
// only it knows about (how its sounds are watched) in `program`.

#include <any>
#include <functional>
#include <memory>
#include <vector>

#include "core/calendar.hpp"
#include "core/clock.hpp"
#include "core/random.hpp"
#include "gfx/font.hpp"
#include "gfx/picture_cache.hpp"
#include "platform/audio/silent_sink.hpp"
#include "platform/audio/wave_output.hpp"
#include "ui/message_box.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::ui {

// Every member has an initializer, so designated initializers may name any of them alone.
struct Services {
    // --- Given by whoever makes the runtime; every member has a default -----------------------
    // The local wall clock at whole seconds; empty: the system's.
    WallClock wall_clock{};
    // Fonts and decoded pictures, made on first use. Shared so that a start-up helper can fill
    // them before the runtime exists, or windows made one after another can share them.
    std::shared_ptr<FontCache> fonts = std::make_shared<FontCache>();
    std::shared_ptr<PictureCache> pictures = std::make_shared<PictureCache>();
    // Where every sound is mixed; the device is opened on the first sound. The default is a
    // silent sink running in real time; the program gives the system's sound device.
    std::shared_ptr<WaveOutput> sound_output = std::make_shared<WaveOutput>(std::make_unique<SilentSink>());
    // Called each time a message box has opened, before its loop runs (tests answer it here).
    std::function<void(const MessageBoxInfo&)> message_box_opened{};
    // What the program above the runtime keeps with its services (the game: game::SoundWatch).
    std::any program{};

    // --- State the services keep while the runtime runs ----------------------------------------
    // The window thread's random generator, at its starting state 1 and never seeded.
    RandomSource random{};
    // The themed look of standard controls and the controls it repaints.
    ThemeRegistry themes{};
    // The message boxes open now, the innermost last.
    std::vector<const MessageBoxInfo*> open_message_boxes{};
};

} // namespace tav::ui
