#include "execution/scenario_editor_images.h"

#include "platform/barriers.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kv::execution {

namespace {

constexpr int kSize = 16;
using PixelMap = std::array<const char*, kSize>;

// The letters of a pixel map name colours; '.' is transparent.
std::uint32_t ColourOf(char pixel) {
    switch (pixel) {
    case 'K':
        return 0x000000; // outline
    case 'Y':
        return 0xE0B040; // folder back
    case 'y':
        return 0xF8D870; // folder front
    case 'B':
        return 0x3050A0; // disk
    case 'W':
        return 0xFFFFFF; // label, paper
    case 'G':
        return 0xC0C0C0; // shutter
    case 'L':
        return 0x4060C0; // written lines
    case 'O':
        return 0xE08020; // pencil
    case 'k':
        return 0x404040; // pencil tip
    default:
        return 0x000000;
    }
}

constexpr PixelMap kOpen = {
    "................", "................", "................", ".KKKK...........",
    "KYYYYK..........", "KYYYYKKKKKKKK...", "KYYYYYYYYYYYK...", "KYYYKKKKKKKKKKKK",
    "KYYKyyyyyyyyyyyK", "KYKyyyyyyyyyyyK.", "KYKyyyyyyyyyyyK.", "KKyyyyyyyyyyyK..",
    "KKyyyyyyyyyyyK..", "KKKKKKKKKKKKK...", "................", "................"};

constexpr PixelMap kSave = {
    "................", ".KKKKKKKKKKKKKK.", ".KBBWWWWWWWWBBK.", ".KBBWWWWWWWWBBK.",
    ".KBBWWWWWWWWBBK.", ".KBBWWWWWWWWBBK.", ".KBBBBBBBBBBBBK.", ".KBBBBBBBBBBBBK.",
    ".KBBGGGGGGGGBBK.", ".KBBGGGGGKGGBBK.", ".KBBGGGGGKGGBBK.", ".KBBGGGGGKGGBBK.",
    ".KBBGGGGGGGGBBK.", ".KKKKKKKKKKKKKK.", "................", "................"};

constexpr PixelMap kSaveAs = {
    "................", "KKKKKKKKKKKK....", "KBWWWWWWWWBK....", "KBWWWWWWWWBK....",
    "KBWWWWWWWWBK....", "KBBBBBBBBBBK....", "KBBGGGGGGBBK....", "KBBGGGGKGBBK..O.",
    "KBBGGGGKGBBK.OOO", "KBBGGGGGGBBKOOO.", "KKKKKKKKKKKOOO..", "..........OOO...",
    ".........OOO....", "........kOO.....", "........kk......", "................"};

constexpr PixelMap kIcon = {
    "..KKKKKKKKKK....", "..KWWWWWWWWKK...", "..KWWWWWWWWKWK..", "..KWLLLLLWWKKKK.",
    "..KWWWWWWWWWWWK.", "..KWLLLLLLLLWWK.", "..KWWWWWWWWWWWK.", "..KWLLLLLLWWWWK.",
    "..KWWWWWWWWWWWK.", "..KWLLLLLLLLWWK.", "..KWWWWWWWWWWWK.", "..KWLLLLLWWWWWK.",
    "..KWWWWWWWWWWWK.", "..KWWWWWWWWWWWK.", "..KKKKKKKKKKKKK.", "................"};

// A 32-bit bitmap of the map: opaque pixels with full alpha, transparent ones black without
// alpha, as both masked and alpha-blended drawing want them.
BitmapOwner ColourBitmap(const PixelMap& map) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        throw LibraryError(E_OUTOFMEMORY, L"Не удалось создать изображение");
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            pixels[y * kSize + x] = // 0xAARRGGBB in a DIB
                map[y][x] == '.' ? 0u : 0xFF000000u | ColourOf(map[y][x]);
    return bitmap;
}

// A monochrome mask: set where the map is transparent.
BitmapOwner MaskBitmap(const PixelMap& map) {
    // Rows of 16 pixels, padded to 16 bits.
    std::array<std::uint16_t, kSize> rows{};
    for (int y = 0; y < kSize; ++y) {
        std::uint16_t row = 0;
        for (int x = 0; x < kSize; ++x)
            if (map[y][x] == '.')
                row |= static_cast<std::uint16_t>(0x8000u >> x);
        rows[y] = static_cast<std::uint16_t>((row >> 8) | (row << 8)); // high byte first
    }
    BitmapOwner mask(CreateBitmap(kSize, kSize, 1, 1, rows.data()));
    if (!mask)
        throw LibraryError(E_OUTOFMEMORY, L"Не удалось создать изображение");
    return mask;
}

} // namespace

ImageListOwner CreateToolBarImages() {
    ImageListOwner images(ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 3, 0));
    if (!images)
        throw LibraryError(E_OUTOFMEMORY, L"Не удалось создать список изображений");
    for (const PixelMap* map : {&kOpen, &kSave, &kSaveAs}) {
        const BitmapOwner colour = ColourBitmap(*map);
        const BitmapOwner mask = MaskBitmap(*map);
        if (ImageList_Add(images.get(), colour.get(), mask.get()) < 0)
            throw LibraryError(E_OUTOFMEMORY, L"Не удалось создать список изображений");
    }
    return images;
}

IconOwner CreateEditorIcon() {
    const BitmapOwner colour = ColourBitmap(kIcon);
    const BitmapOwner mask = MaskBitmap(kIcon);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    IconOwner icon(CreateIconIndirect(&info));
    if (!icon)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Не удалось создать значок");
    return icon;
}

} // namespace kv::execution
