#pragma once
// A compressed movie made to cost the banner all the player allows: lossless
// bitmaps past the movie's pixel limit, shapes of thousands of styles past
// its shape limit, frames too heavy to draw, each unlike the one before, at
// the fastest frame rate the format can state, and padding past its inflate
// limit. Its parts come in the order that keeps the most of them within
// the limits. Some 150 KB on disk. Shared by the player's tests
// and the banner benchmark, which compare it with the delivered ads.

#include "SwfTestMovies.h"

namespace hostile {

// DefineShape3 body (after the id): `fillCount` solid fills, fill `used`
// on the right of a zigzag of `edges` straight edges running between
// (0, 0) and (6000, `heightTwips`).
inline Bytes ZigzagShape(int fillCount, int used, int edges, int heightTwips) {
    BitWriter w;
    WriteRect(w, 0, 6000, 0, 1000);
    w.U8(0xFF);
    w.U16(static_cast<std::uint16_t>(fillCount));
    for (int i = 0; i < fillCount; ++i) {
        w.U8(0x00);  // solid
        w.U8(std::uint8_t(i)), w.U8(0x40), w.U8(0x80), w.U8(0xFF);
    }
    w.U8(0);      // no line styles
    w.UB(15, 4);  // fill bits
    w.UB(0, 4);   // line bits
    w.UB(0, 1);
    w.UB(0x05, 5);  // fill1 and move
    w.UB(15, 5);
    w.SB(0, 15);
    w.SB(0, 15);
    w.UB(static_cast<std::uint32_t>(used), 15);
    for (int i = 0; i < edges; ++i) {
        w.UB(1, 1);  // edge
        w.UB(1, 1);  // straight
        w.UB(14 - 2, 4);
        w.UB(1, 1);  // general line
        w.SB((i % 2 == 0) ? 6000 : -6000, 14);
        w.SB((i % 2 == 0) ? heightTwips : -heightTwips, 14);
    }
    w.UB(0, 6);  // end of shape
    return w.Data();
}

// `zigzagEdges` and `heightTwips` shape the frames: the defaults make each
// frame pass the work a frame may do only near its end, the costliest kind
// found (thousands of edges give up at once, small shapes are drawn whole).
inline Bytes HostileMovie(int zigzagEdges = 2, int heightTwips = 1000) {
    MovieWriter movie(300, 50, 255.99);
    // Bitmaps: forty colour-mapped 256 x 256 pictures of zeros, 2.6 million
    // pixels, some hundred bytes each once deflated.
    const Bytes zeros(std::size_t(3) + 256 * 256, 0);
    const Bytes packed = MovieWriter::Deflate(zeros);
    std::uint16_t id = 1;
    for (int i = 0; i < 40; ++i, ++id) {
        BitWriter tag;
        tag.U16(id);
        tag.U8(3);
        tag.U16(256);
        tag.U16(256);
        tag.U8(0);  // table of one colour
        tag.Append(packed);
        movie.Tag(20, tag.Data());
    }
    // Shapes: zigzags of thousands of edges crossing the whole banner, then
    // shapes of thousands of styles (the costliest items to hold), and one
    // of 65,535 styles.
    const std::uint16_t firstShape = id;
    for (int i = 0; i < 3; ++i, ++id) {
        Bytes tag{static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8)};
        const Bytes body = ZigzagShape(2, 1, zigzagEdges, heightTwips);
        tag.insert(tag.end(), body.begin(), body.end());
        movie.Tag(32, tag);
    }
    for (const int fills : {2000, 2000, 2000, 65535}) {
        Bytes tag{static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8)};
        const Bytes body = ZigzagShape(fills, 1, 10, 1000);
        tag.insert(tag.end(), body.begin(), body.end());
        movie.Tag(32, tag);
        ++id;
    }
    // Frames: each of the zigzags placed four times, all moved a little
    // each frame so that nothing drawn before can be reused.
    constexpr int kDepths = 12;
    for (int depth = 1; depth <= kDepths; ++depth) movie.Place2(depth, firstShape + (depth - 1) % 3);
    for (int frame = 0; frame < 240; ++frame) {
        for (int depth = 1; depth <= kDepths; ++depth) {
            TestMatrix m;
            m.TX = (frame % 2) * 7 + depth;
            m.TY = (frame % 3) * 5;
            movie.Move(depth, m);
        }
        movie.ShowFrame();
    }
    // Padding last, in a tag the player skips, so that an inflate limit
    // cuts nothing else: some 60 MiB once inflated.
    for (int i = 0; i < 60; ++i) movie.Tag(777, Bytes(std::size_t(1) << 20, 0));
    return movie.Cws();
}

}  // namespace hostile
