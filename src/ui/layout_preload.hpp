#pragma once
// Preparing what the first paint of a layout needs, ahead of it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "gfx/font.hpp"
#include "gfx/picture_cache.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// Runs a helper program that makes, for the same layout, what its first paint needs (see
// preload_layout), while this process opens the display connection. The first font or picture
// lookup afterwards waits for the helper's part and takes in what it made; a helper that is
// missing or fails leaves the caches to load as they would without it.
class LayoutPreload {
public:
    // Starts `helper` (no helper for an empty name); `make` builds this process's own layout;
    // what the helper makes is taken into `fonts` and `pictures`, which must outlive this.
    LayoutPreload(const std::string& helper, std::function<LayoutData()> make, FontCache& fonts,
                  PictureCache& pictures);
    // Stops listening to the helper (finish()); what was taken in stays in the caches.
    ~LayoutPreload();
    LayoutPreload(const LayoutPreload&) = delete;
    LayoutPreload& operator=(const LayoutPreload&) = delete;

    // The layout, built here with `make` on the first call; it lives as long as this.
    const LayoutData& layout();
    // Stops listening to the helper: a lookup after this that finds nothing handed over loads
    // for itself. Called as the program ends.
    void finish();

    // What was taken in from the helper so far.
    struct TakenIn {
        std::size_t fonts = 0;
        std::size_t pictures = 0;  // the distinct pictures, the stretched ones to come included
        std::size_t stretched = 0; // the stretched pictures taken as they were first painted
    };
    TakenIn taken_in() const;

    // The room the helper has for what it makes: fonts with their glyphs, pictures with their
    // scaled copies. Pages are only made as it writes them.
    static constexpr std::size_t kAreaSize = std::size_t(64) << 20;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// The helper's work for `layout`: loads every font its controls name, and the stock font, and
// renders the glyphs of the controls' texts in them; decodes every picture, and scales a
// window's stretched picture to its client area. Writes three parts into `area` and hands
// each over as it is written: the pictures but the stretched ones, the fonts, and the
// stretched pictures with their scaled copies. The fonts and pictures are made in `fonts` and
// `pictures`.
void preload_layout(const LayoutData& layout, std::span<std::uint8_t> area,
                    const std::function<bool(std::size_t end)>& hand_over, FontCache& fonts, PictureCache& pictures);

} // namespace tav::ui
