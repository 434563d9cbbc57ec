// Soak test: many spins on the real window, headless under the virtual clock, with the real
// sound layer playing every step and result sound into a silent sink running in real time.
// A player of our own (its own generator with a fixed seed, independent of the game's) tops up
// with "上分", places bets with the spinner arrows and takes some back, presses "开始" and lets
// the spin settle; now and then it provokes a refusal and dismisses the box with Enter.
// Every settlement must balance, and at the end no player, thread or timer may be left and
// resident memory must not have grown past a small bound.
//
// The spin count is TAVRINO_SOAK_SPINS (default 400, well under a minute on a loaded machine);
// the full run is TAVRINO_SOAK_SPINS=10000 build-x/tests/soak/tavrino_soak_tests.
//
// The virtual clock runs much faster than real time while the sounds end in real time, so
// players pile up per real second; each must still end within its sound's length and a slack.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "assets/assets.hpp"
#include "audio/play_sound.hpp"
#include "audio/wav_chunks.hpp"
#include "core/calendar.hpp"
#include "core/gbk.hpp"
#include "game/board.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/input.hpp"
#include "runtime/runtime.hpp"
#include "ui/message_box.hpp"
#include "ui/services.hpp"

namespace tav::game::soak {
namespace {

using RealClock = std::chrono::steady_clock;

constexpr int kDefaultSpins = 400;
constexpr int kWarmUpSpins = 50;
// Resident memory may grow this much between the warm-up and the end (allocator noise).
constexpr long kMaxGrowthKib = 2048;
// A spin settles well within this much virtual time.
constexpr std::uint64_t kSpinLimitMs = 60000;
constexpr std::uint32_t kSeed = 20261207;
constexpr std::int64_t kTopUp = 100;
constexpr std::int64_t kBetStep = 10;
constexpr std::int64_t kBetCeiling = 990;
// The no-credit refusal is tried only up to this balance (every credit goes on the board first).
constexpr std::int64_t kSmallBalance = 500;
// How long the player looks at a refusal box before pressing Enter.
constexpr std::uint64_t kBoxReadingMs = 400;
// At most this many players at once: a sound is started only when fewer play. Without a bound
// a loaded machine piles up a thousand and more (each with its buffers and thread), and the
// memory high-water mark would follow the machine's load rather than the game.
constexpr std::size_t kMaxPlayers = 160;
// Waiting longer than this for a player to end means players no longer end.
constexpr auto kPlayerEndWait = std::chrono::seconds(10);
// A player may outlive its sound by this much real time on a loaded machine.
constexpr auto kPlayerSlack = std::chrono::seconds(3);
// How long the kernel may take to drop a joined thread from the process's count.
constexpr auto kThreadGoneWait = std::chrono::seconds(2);

constexpr int kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3, kVisibleProperty = 5, kTextProperty = 8;

// A number field of /proc/self/status ("Threads", "VmRSS" in KiB).
long proc_status(std::string_view field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    ADD_FAILURE() << "no " << field << " in /proc/self/status";
    return -1;
}

// Resident memory in KiB once the allocator has handed its free pages back: what the arenas of
// 160 short-lived player threads happen to keep cached varies by megabytes from run to run and
// would hide a real leak or fake one.
long resident_kib() {
    malloc_trim(0);
    return proc_status("VmRSS");
}

// How long an embedded sound plays, from its data size and byte rate.
RealClock::duration play_length(std::span<const std::uint8_t> wav) {
    const auto chunks = walk_wav_chunks(wav);
    if (!chunks || chunks->format.size() < 12) return std::chrono::seconds(0);
    std::uint32_t byte_rate = 0;
    for (std::size_t i = 0; i < 4; ++i) byte_rate |= static_cast<std::uint32_t>(chunks->format[8 + i]) << (8 * i);
    if (byte_rate == 0) return std::chrono::seconds(0);
    return std::chrono::duration_cast<RealClock::duration>(
        std::chrono::duration<double>(static_cast<double>(chunks->data.size()) / byte_rate));
}

// Under AddressSanitizer freed memory waits in a quarantine and in per-thread caches, so the
// resident size follows the sanitizer's allocator, not the program: the bound is not checked.
bool resident_size_is_ours() { return dlsym(RTLD_DEFAULT, "__asan_init") == nullptr; }

int spin_count() {
    const char* text = std::getenv("TAVRINO_SOAK_SPINS");
    if (!text || !*text) return kDefaultSpins;
    const int n = std::atoi(text);
    return n > 0 ? n : kDefaultSpins;
}

// The sounds the game started in the last seconds of real time, each kept for as long as its
// player may rightly live.
class RecentSounds {
public:
    RecentSounds()
        : lengths_{play_length(assets::step_sound()), play_length(assets::result_sound()),
                   play_length(assets::background_music())} {}

    void started(GameSound s) {
        const auto now = RealClock::now();
        ends_.push_back(now + lengths_[static_cast<std::size_t>(s)] + kPlayerSlack);
        ++total_;
    }
    // Players that may still be alive now.
    std::size_t alive_allowed() {
        const auto now = RealClock::now();
        std::erase_if(ends_, [now](RealClock::time_point end) { return end < now; });
        return ends_.size();
    }
    std::uint64_t total() const { return total_; }

private:
    std::array<RealClock::duration, 3> lengths_;
    std::deque<RealClock::time_point> ends_;
    std::uint64_t total_ = 0;
};

// The game's real window on the headless backend with the real sound layer on a silent sink.
// Refusal boxes are recorded and dismissed by Enter.
class SoakWindow {
public:
    SoakWindow() {
        auto b = std::make_unique<platform::HeadlessBackend>();
        backend = b.get();
        // The clock's seconds move with the virtual time, so the draws that scale with them vary.
        runtime = std::make_unique<Runtime>(
            ui::main_window_layout(game_handlers()), std::move(b),
            ui::Services{.wall_clock = backend->wall_clock(LocalTime{2026, 12, 7, 21, 30, 0}, true),
                         .message_box_opened = [this](const ui::MessageBoxInfo& box) { answer(box); },
                         .program = SoundWatch{[this](GameSound s) { heard(s); }}});
        runtime->load_window(kMainWindow);
    }

    ~SoakWindow() {
        stop_all_sounds(true);
        runtime.reset();
    }

    SoakWindow(const SoakWindow&) = delete;
    SoakWindow& operator=(const SoakWindow&) = delete;

    // Counts a sound the game starts, once fewer than kMaxPlayers play.
    void heard(GameSound s) {
        const auto give_up = RealClock::now() + kPlayerEndWait;
        std::size_t players = active_player_count();
        while (players >= kMaxPlayers && RealClock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            players = active_player_count();
        }
        if (players >= kMaxPlayers)
            ADD_FAILURE() << players << " players still play after " << kPlayerEndWait.count() << " s";
        peak_players = std::max(peak_players, players + 1);
        sounds.started(s);
    }
    // Records a refusal box and has the player read it and press Enter.
    void answer(const ui::MessageBoxInfo& box) {
        last_box = gbk_to_utf8(box.text.view());
        ++boxes;
        const std::uint64_t at = backend->now_ms() + kBoxReadingMs;
        backend->schedule_key(box.window, platform::vk::kReturn, true, at);
        backend->schedule_key(box.window, platform::vk::kReturn, false, at);
    }

    Value get(std::string_view name, int index) { return runtime->get_property(kMainWindow, control(name), index); }
    std::string text(std::string_view name) { return gbk_to_utf8(get(name, kTextProperty).text().view()); }
    std::int64_t number(std::string_view name) { return std::stoll(text(name)); }
    std::int32_t interval(std::string_view timer) { return get(timer, kTextProperty).as_integer(); }
    bool visible(std::string_view name) { return get(name, kVisibleProperty).as_integer() != 0; }
    bool settled() {
        return interval(board::kDecelerationTimer) == 0 && interval(board::kAccelerationTimer) == 0 &&
               interval(board::kRunLengthTimer) == 0 && interval(board::kFastRunTimer) == 0;
    }
    std::vector<int> lit_lamps() {
        std::vector<int> lit;
        for (int k = 1; k <= 20; ++k)
            if (visible(board::kRing[static_cast<std::size_t>(k - 1)].lamp)) lit.push_back(k);
        return lit;
    }

    platform::WindowHandle top() { return runtime->window_handle_of(kMainWindow); }
    void click_at(Point p) {
        backend->click(top(), p);
        runtime->windows().process_pending();
    }
    void click(std::string_view name) {
        click_at({get(name, kLeft).as_integer() + get(name, kWidth).as_integer() / 2,
                  get(name, kTop).as_integer() + get(name, kHeight).as_integer() / 2});
    }
    // An arrow of the bet spinner of symbol k (1..8).
    void spinner(int k, bool up) {
        const std::string_view name = board::kBetColumns[static_cast<std::size_t>(k - 1)].spinner;
        click_at({get(name, kLeft).as_integer() + 16, get(name, kTop).as_integer() + (up ? 10 : 40)});
    }

    RecentSounds sounds;
    std::size_t peak_players = 0;
    std::size_t peak_over_allowed = 0;
    int boxes = 0;
    std::string last_box;
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<Runtime> runtime;
};

// The player: knows what it put in and checks every number the window shows against that.
class Player {
public:
    Player(SoakWindow& w, std::mt19937& rng) : w_(w), rng_(rng), credits_(w.number(board::kCredits)) {}

    int spins = 0;
    int mismatches = 0;
    int refusals = 0;

    // A random amount of top-ups and bets (some taken back again), then one whole spin.
    void play_one() {
        top_up(pick(0, 2) + (credits_ < kBetStep ? 1 : 0));
        place_bets();
        check_bets("after the bets");
        spin();
    }

    // "开始" with no bet on the board: a box, nothing starts and nothing moves.
    void start_without_bets() {
        const int boxes = w_.boxes;
        w_.click(board::kStartButton);
        ++refusals;
        expect(w_.boxes == boxes + 1 && w_.last_box == "请选择下面图标进行押注！", "no-bet refusal box");
        expect(w_.runtime->windows().top_levels().size() == 1, "Enter closed the no-bet refusal box");
        expect(w_.settled(), "nothing starts without bets");
        check_bets("after the no-bet refusal");
    }

    // Every credit put on the board, then one bet more: refused, nothing moves; then the spin.
    // Only with a small balance, so the board can take it all.
    void bet_without_credits() {
        if (credits_ > kSmallBalance) {
            play_one();
            return;
        }
        top_up(1);
        while (credits_ > 0) raise(pick(1, 8));
        check_bets("with every credit on the board");
        const int boxes = w_.boxes;
        const int k = pick(1, 8);
        if (bets_[static_cast<std::size_t>(k - 1)] < kBetCeiling) {
            w_.spinner(k, true);
            ++refusals;
            expect(w_.boxes == boxes + 1 && w_.last_box == "分数不够！请先上分！", "no-credit refusal box");
            expect(w_.runtime->windows().top_levels().size() == 1, "Enter closed the no-credit refusal box");
            check_bets("after the no-credit refusal");
        }
        spin();
    }

    bool check_idle_board() { return w_.lit_lamps().size() == 1 && w_.settled(); }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    void expect(bool ok, std::string_view what) {
        if (ok) return;
        ++mismatches;
        ADD_FAILURE() << "spin " << spins << ": " << what;
    }

    void top_up(int times) {
        for (int i = 0; i < times; ++i) {
            w_.click(board::kAddCreditsButton); // "上分"
            credits_ += kTopUp;
        }
    }

    void raise(int k) {
        std::int64_t& bet = bets_[static_cast<std::size_t>(k - 1)];
        if (credits_ < kBetStep || bet >= kBetCeiling) return;
        w_.spinner(k, true);
        bet += kBetStep;
        credits_ -= kBetStep;
    }

    void lower(int k) {
        std::int64_t& bet = bets_[static_cast<std::size_t>(k - 1)];
        w_.spinner(k, false);
        if (bet > 0) {
            bet -= kBetStep;
            credits_ += kBetStep;
        }
    }

    void place_bets() {
        const int raises = pick(1, 12);
        for (int i = 0; i < raises; ++i) raise(pick(1, 8));
        // Some taken back again, now and then on a symbol without a bet (nothing happens).
        const int lowers = pick(0, 3);
        for (int i = 0; i < lowers; ++i) lower(pick(1, 8));
        if (staked() == 0) raise(pick(1, 8));
    }

    std::int64_t staked() const {
        std::int64_t sum = 0;
        for (std::int64_t b : bets_) sum += b;
        return sum;
    }

    void check_bets(std::string_view when) {
        expect(w_.number(board::kCredits) == credits_, std::string("credits ") + std::string(when));
        for (std::size_t k = 0; k < 8; ++k)
            expect(w_.number(board::kBetColumns[k].bet_display) == bets_[k],
                   std::string("bet ") + std::to_string(k + 1) + " " + std::string(when));
    }

    // 开始, then the loop runs until every spin timer has stopped; the settlement must pay the
    // bet on the position finally scored (after any random jump) times its odds, once.
    void spin() {
        if (staked() == 0) return;
        const std::int64_t before = w_.number(board::kCredits);
        w_.click(board::kStartButton);
        const bool done = w_.backend->run_until([this] { return w_.settled(); }, kSpinLimitMs);
        ++spins;
        expect(done, "the spin settles");
        if (!done) return;

        const int position = static_cast<int>(w_.number(board::kLampPosition));
        expect(position >= 1 && position <= 20, "lamp position");
        std::int64_t expected_win = 0;
        if (position >= 1 && position <= 20) {
            const board::RingPosition& scored = board::kRing[static_cast<std::size_t>(position - 1)];
            expect(!scored.random_field(), "a random field is never the final position");
            if (!scored.random_field()) {
                const auto k = static_cast<std::size_t>(board::column_of(scored.motif) - board::kBetColumns.data());
                expected_win = bets_[k] * scored.multiplier();
            }
        }
        const std::int64_t win = w_.number(board::kWin);
        const std::int64_t after = w_.number(board::kCredits);
        expect(win == expected_win, "win " + std::to_string(win) + " for " + std::to_string(expected_win));
        expect(after == before + win, "credits " + std::to_string(before) + " + win " + std::to_string(win) + " gave " +
                                          std::to_string(after));
        expect(before == credits_, "credits before 开始");
        credits_ = before + expected_win;
        bets_.fill(0);
        check_bets("after the settlement");
        expect(w_.lit_lamps() == std::vector<int>{position}, "exactly the lamp of the final position lit");

        const std::size_t allowed = w_.sounds.alive_allowed();
        const std::size_t players = active_player_count();
        w_.peak_over_allowed = std::max(w_.peak_over_allowed, players > allowed ? players - allowed : 0);
        expect(players <= allowed, "players outlive their sounds: " + std::to_string(players) + " for " +
                                       std::to_string(allowed) + " recent sounds");
    }

    SoakWindow& w_;
    std::mt19937& rng_;
    std::int64_t credits_;
    std::array<std::int64_t, 8> bets_{};
};

TEST(Soak, SpinsBalanceAndLeaveNoPlayerThreadTimerOrMemoryBehind) {
    const long threads_at_start = proc_status("Threads");
    const int spins = spin_count();
    const auto real_start = RealClock::now();
    long rss_after_warm_up = 0;
    long rss_at_end = 0;
    std::uint64_t sounds_started = 0;
    std::size_t peak_players = 0;
    int mismatches = 0;
    int refusals = 0;
    int played = 0;
    std::uint64_t virtual_ms = 0;
    {
        SoakWindow w;
        std::mt19937 rng(kSeed);
        Player player(w, rng);
        while (player.spins < spins) {
            const int roll = std::uniform_int_distribution<int>(1, 100)(rng);
            if (roll <= 3) {
                player.start_without_bets();
            } else if (roll <= 6) {
                player.bet_without_credits();
            } else {
                player.play_one();
            }
            if (player.spins == kWarmUpSpins && rss_after_warm_up == 0) {
                stop_all_sounds(true);
                rss_after_warm_up = resident_kib();
            }
            if (player.mismatches > 20) break; // the cause shows in the first ones
        }
        EXPECT_TRUE(player.check_idle_board());

        stop_all_sounds(true);
        EXPECT_EQ(active_player_count(), 0u);
        EXPECT_EQ(player_thread_count(), 0u);
        rss_at_end = resident_kib();

        // No timer of any kind is left: with nothing scheduled the loop returns at once, where
        // a running timer would move the virtual clock on.
        w.runtime->windows().process_pending(); // the paint of the last settlement
        const std::uint64_t idle_from = w.backend->now_ms();
        const std::size_t presents = w.backend->present_count();
        w.runtime->windows().run([&] { return w.backend->now_ms() > idle_from + kSpinLimitMs; });
        EXPECT_EQ(w.backend->now_ms(), idle_from);
        EXPECT_EQ(w.backend->present_count(), presents);

        sounds_started = w.sounds.total();
        peak_players = w.peak_players;
        mismatches = player.mismatches;
        refusals = player.refusals;
        played = player.spins;
        virtual_ms = w.backend->now_ms();
        EXPECT_EQ(w.peak_over_allowed, 0u);
    }

    stop_sounds_at_exit(); // the silent sink's thread goes with the output, once the last player lets go
    const auto give_up = RealClock::now() + kThreadGoneWait;
    while (proc_status("Threads") > threads_at_start && RealClock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(proc_status("Threads"), threads_at_start);

    const double real_s = std::chrono::duration<double>(RealClock::now() - real_start).count();
    EXPECT_EQ(played, spins);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(refusals, 0);
    ASSERT_GT(rss_after_warm_up, 0);
    if (resident_size_is_ours()) {
        EXPECT_LT(rss_at_end - rss_after_warm_up, kMaxGrowthKib);
    }

    std::printf("soak: %d spins (%d refusals) in %.1f s real, %.0f s virtual; %llu sounds, peak %zu players; "
                "%d mismatches; VmRSS %ld KiB after %d spins, %ld KiB at the end (%+ld KiB)\n",
                played, refusals, real_s, static_cast<double>(virtual_ms) / 1000.0,
                static_cast<unsigned long long>(sounds_started), peak_players, mismatches, rss_after_warm_up,
                kWarmUpSpins, rss_at_end, rss_at_end - rss_after_warm_up);
}

} // namespace
} // namespace tav::game::soak
