#include "ui/jpeg_bitmap.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace tarnwell {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// libjpeg would otherwise exit the process on a corrupt picture.
void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

void IgnoreJpegMessage(j_common_ptr) {}

HBITMAP CreateTopDownDib(int width, int height, unsigned char** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<unsigned char*>(pixels);
    return bitmap;
}

// Kept apart from the setjmp frame so that no object with a destructor
// lives where longjmp may land.
// The bitmap goes to *out as soon as it exists, so an error in the middle
// of decoding cannot leak it.
void Decode(jpeg_decompress_struct* jpeg, const unsigned char* data, size_t size, HBITMAP volatile* out) {
    jpeg_mem_src(jpeg, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(jpeg, TRUE) != JPEG_HEADER_OK) return;
    jpeg->out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit DIB
    jpeg_start_decompress(jpeg);
    const int width = static_cast<int>(jpeg->output_width);
    const int height = static_cast<int>(jpeg->output_height);
    unsigned char* bits = nullptr;
    *out = CreateTopDownDib(width, height, &bits);
    if (!*out) return;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    while (jpeg->output_scanline < jpeg->output_height) {
        JSAMPROW row = bits + stride * jpeg->output_scanline;
        jpeg_read_scanlines(jpeg, &row, 1);
    }
    jpeg_finish_decompress(jpeg);
}

}  // namespace

GdiBitmap DecodeJpegBitmap(const unsigned char* data, size_t size) {
    if (!data || size == 0) return GdiBitmap{};
    jpeg_decompress_struct jpeg;
    JpegError error;
    jpeg.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = OnJpegError;
    error.mgr.output_message = IgnoreJpegMessage;
    volatile HBITMAP bitmap = nullptr;
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&jpeg);
        Decode(&jpeg, data, size, &bitmap);
    } else if (bitmap) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    jpeg_destroy_decompress(&jpeg);
    return GdiBitmap(bitmap);
}

GdiBitmap LoadJpegResource(int id) {
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource) return GdiBitmap{};
    HGLOBAL loaded = ::LoadResource(nullptr, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return DecodeJpegBitmap(static_cast<const unsigned char*>(data), ::SizeofResource(nullptr, resource));
}

}  // namespace tarnwell
