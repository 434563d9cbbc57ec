// The window's own events: its opening and a right click on its background.

#include "core/value.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

// The colour scheme of the themed look the game's controls wear.
constexpr int kThemeScheme = 3;

// The title a right click on the window shows; the window opens with the short "Tavrino".
constexpr std::string_view kLongTitle = "Tavrino --- a lamp-ring fruit machine, made by the Tavrino developers";

} // namespace

void window_created() {
    if (Runtime* runtime = Runtime::current()) runtime->services().themes.themed_drawing(kThemeScheme);
    play_game_sound(GameSound::Music);
}

void window_right_down(std::int32_t /*x*/, std::int32_t /*y*/, std::int32_t /*keys*/) {
    set_window_caption(Text(kLongTitle));
}

} // namespace tav::game
