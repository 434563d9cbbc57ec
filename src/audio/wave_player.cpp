// A sound's player: opened on the output, refilling each buffer the device returns until done or stopped.
#include "audio/wave_player.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace tav {

std::unique_ptr<WavePlayer> WavePlayer::create(Value sound, const WavChunks& chunks, bool loop,
                                               std::shared_ptr<WaveOutput> output,
                                               std::chrono::milliseconds stall_timeout) {
    std::unique_ptr<WavePlayer> player;
    try {
        player.reset(new WavePlayer(std::move(sound), chunks.data, loop, std::move(output), stall_timeout));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!player->output_) return nullptr;
    player->device_ = player->output_->open(chunks.format, &WavePlayer::on_buffer_done, player.get());
    if (!player->device_) return nullptr; // a format the output cannot play: refused, no thread
    return player;
}

WavePlayer::WavePlayer(Value sound, std::span<const std::uint8_t> pcm, bool loop, std::shared_ptr<WaveOutput> output,
                       std::chrono::milliseconds stall_timeout)
    : sound_(std::move(sound)), pcm_(pcm), output_(std::move(output)),
      block_(std::make_unique_for_overwrite<BufferBlock>()), loop_(loop), stall_timeout_(stall_timeout) {
    // The areas are left as they come: each is filled before it is queued, and only the bytes
    // filled are played, so a short sound touches only the memory it uses.
    for (int i = 0; i < kBufferCount; ++i) {
        block_->headers[i].data = block_->areas[i].data();
        block_->headers[i].length = kBufferBytes;
    }
}

WavePlayer::~WavePlayer() { close_device(); }

void WavePlayer::on_buffer_done(void* instance, WaveBuffer&) {
    auto* self = static_cast<WavePlayer*>(instance);
    {
        std::lock_guard lock(self->lock_);
        ++self->free_buffers_;
    }
    self->signals_.release();
}

int WavePlayer::free_buffers() {
    std::lock_guard lock(lock_);
    return free_buffers_;
}

void WavePlayer::release_prepared() {
    if (!device_) return;
    for (WaveBuffer& b : block_->headers)
        if (b.prepared) output_->unprepare(*device_, b);
}

void WavePlayer::run() {
    for (;;) {
        if (signals_.wait(stall_timeout_) != PlayerWake::Buffer) {
            // Stopped, or the device kept every buffer too long: take them all back and end.
            if (device_) {
                output_->pause(*device_);
                output_->reset(*device_);
            }
            release_prepared();
            return;
        }
        const int free = free_buffers();
        if (free < 1) continue;
        WaveBuffer& buffer = block_->headers[next_index_];
        if (buffer.prepared && device_) output_->unprepare(*device_, buffer);
        const std::size_t remaining = pcm_.size() - read_pos_;
        if (remaining >= 1) {
            const std::size_t n = std::min<std::size_t>(remaining, kBufferBytes);
            std::memcpy(buffer.data, pcm_.data() + read_pos_, n);
            buffer.length = static_cast<std::uint32_t>(n);
            read_pos_ += n;
            if (device_ && output_->prepare(*device_, buffer)) output_->write(*device_, buffer);
            {
                std::lock_guard lock(lock_);
                --free_buffers_;
            }
            next_index_ = (next_index_ + 1) % kBufferCount;
            continue;
        }
        if (free < kBufferCount) continue; // the last buffers are still playing
        if (!loop_) {
            release_prepared();
            return;
        }
        {
            std::lock_guard lock(lock_);
            read_pos_ = 0;
            next_index_ = 0;
            free_buffers_ = kBufferCount;
        }
        // Wakes left over from buffers that came back while the thread was busy would make a
        // release of 20 overflow and do nothing, leaving one buffer in flight and the loop
        // stuttering; topping the count up gives the new pass all 20 buffers.
        signals_.fill();
    }
}

void WavePlayer::close_device() {
    if (device_ && output_) output_->close(*device_);
    device_.reset();
}

} // namespace tav
