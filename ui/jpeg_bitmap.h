#pragma once
// Decodes a JPEG held in memory into a device-independent bitmap.
#include <cstddef>

#include "base/handles.h"

namespace tarnwell {

// An empty bitmap when the data is not a JPEG libjpeg can decode.
GdiBitmap DecodeJpegBitmap(const unsigned char* data, size_t size);

// The JPEG stored as RCDATA resource `id` of this program, decoded.
GdiBitmap LoadJpegResource(int id);

}  // namespace tarnwell
