#include "app/jpeg_image.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

struct Pixel {
  int red;
  int green;
  int blue;
};

// The decoded bitmap with its DIB description; frees the bitmap at the end of the test.
class Decoded {
 public:
  explicit Decoded(HBITMAP bitmap) : bitmap_(bitmap) {
    if (bitmap_ != nullptr && GetObjectA(bitmap_, sizeof(dib_), &dib_) != sizeof(dib_)) {
      dib_ = {};
    }
  }
  ~Decoded() {
    if (bitmap_ != nullptr) {
      DeleteObject(bitmap_);
    }
  }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;

  bool valid() const { return bitmap_ != nullptr && dib_.dsBm.bmBits != nullptr; }
  const DIBSECTION& dib() const { return dib_; }
  int width() const { return dib_.dsBmih.biWidth; }
  int height() const { return dib_.dsBmih.biHeight < 0 ? -dib_.dsBmih.biHeight : dib_.dsBmih.biHeight; }

  // Row 0 of the bits is the top row only for a top-down DIB, which DecodeJpeg promises. Wine
  // reports biHeight as positive for either kind, so the pixel tests check the orientation.
  Pixel at(int x, int y) const {
    const auto* row =
        static_cast<const unsigned char*>(dib_.dsBm.bmBits) + static_cast<std::size_t>(y) * dib_.dsBm.bmWidthBytes;
    return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
  }

 private:
  HBITMAP bitmap_;
  DIBSECTION dib_ = {};
};

void ExpectNear(const Pixel& actual, const Pixel& expected, int tolerance, const char* where) {
  EXPECT_NEAR(actual.red, expected.red, tolerance) << where;
  EXPECT_NEAR(actual.green, expected.green, tolerance) << where;
  EXPECT_NEAR(actual.blue, expected.blue, tolerance) << where;
}

// The banners run from this navy to this teal.
constexpr Pixel kNavy = {11, 42, 91};
constexpr Pixel kTeal = {26, 154, 154};

std::vector<unsigned char> ResourceBytes(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (found == nullptr) {
    return {};
  }
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

// Encodes width x height pixels (given as RGB, or one byte each when components is 1) at full
// quality without chroma subsampling, so block colours survive almost exactly.
std::vector<unsigned char> Encode(const std::vector<unsigned char>& pixels, int width, int height, int components,
                                  J_COLOR_SPACE space) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(pixels.data()) + info.next_scanline * rowBytes;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<unsigned char> file(out, out + outSize);
  jpeg_destroy_compress(&info);
  std::free(out);
  return file;
}

// A 21 by 16 picture: red, green and blue 8-pixel-wide bands (the last one 5 wide). 21 pixels
// make 63 bytes a row, so the DIB rows carry one padding byte.
std::vector<unsigned char> ThreeBands() {
  std::vector<unsigned char> pixels;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 21; ++x) {
      const int band = x / 8;
      pixels.push_back(band == 0 ? 220 : 20);
      pixels.push_back(band == 1 ? 200 : 30);
      pixels.push_back(band == 2 ? 210 : 40);
    }
  }
  return Encode(pixels, 21, 16, 3, JCS_RGB);
}

// Offset of the baseline frame header's height field, or 0.
std::size_t FrameSizeOffset(const std::vector<unsigned char>& file) {
  for (std::size_t i = 2; i + 9 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      return i + 5;
    }
  }
  return 0;
}

HBITMAP Decode(const std::vector<unsigned char>& file) { return DecodeJpeg(file.data(), file.size()); }

}  // namespace

TEST(JpegBanners, DecodeToTheirPanelSizesAsTopDownBgr) {
  struct Banner {
    int id;
    int width;
    int height;
  };
  for (const Banner& banner :
       {Banner{IDR_BANNER_SIDE, 97, 337}, Banner{IDR_BANNER_TOP, 555, 70}, Banner{IDR_BANNER_ABOUT, 393, 57}}) {
    SCOPED_TRACE(banner.id);
    Decoded image(LoadJpegBitmap(GetModuleHandleA(nullptr), banner.id));
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.width(), banner.width);
    EXPECT_EQ(image.height(), banner.height);
    EXPECT_EQ(image.dib().dsBm.bmBitsPixel, 24);
    EXPECT_EQ(image.dib().dsBm.bmWidthBytes, (banner.width * 3 + 3) / 4 * 4);
  }
}

TEST(JpegBanners, ShowTheirGradientAndLettering) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  {
    // The side banner runs navy at the top into teal at the bottom: catches flipped rows,
    // swapped red and blue, and row strides that drift (97 pixels need row padding).
    Decoded side(LoadJpegBitmap(self, IDR_BANNER_SIDE));
    ASSERT_TRUE(side.valid());
    ExpectNear(side.at(3, 3), kNavy, 12, "side top left");
    ExpectNear(side.at(93, 3), kNavy, 12, "side top right");
    ExpectNear(side.at(3, 333), kTeal, 12, "side bottom left");
    ExpectNear(side.at(93, 333), kTeal, 12, "side bottom right");
  }
  {
    Decoded top(LoadJpegBitmap(self, IDR_BANNER_TOP));
    ASSERT_TRUE(top.valid());
    ExpectNear(top.at(3, 35), kNavy, 12, "top left");
    ExpectNear(top.at(551, 3), kTeal, 12, "top right");
    // The white product name crosses row 30 between x 22 and 250.
    int brightest = 0;
    for (int x = 22; x < 250; ++x) {
      const Pixel p = top.at(x, 30);
      brightest = std::max(brightest, std::min({p.red, p.green, p.blue}));
    }
    EXPECT_GT(brightest, 220);
  }
  {
    Decoded about(LoadJpegBitmap(self, IDR_BANNER_ABOUT));
    ASSERT_TRUE(about.valid());
    ExpectNear(about.at(3, 28), kNavy, 12, "about left");
    ExpectNear(about.at(389, 53), kTeal, 12, "about right");
  }
}

TEST(JpegBanners, MissingResourceGivesNull) {
  EXPECT_EQ(LoadJpegBitmap(GetModuleHandleA(nullptr), 9999), nullptr);
  // An icon group exists under this id, but not as raw data.
  EXPECT_EQ(LoadJpegBitmap(GetModuleHandleA(nullptr), IDI_APP), nullptr);
}

TEST(DecodeJpeg, KeepsBlueGreenRedOrderAndPaddedRows) {
  Decoded image(Decode(ThreeBands()));
  ASSERT_TRUE(image.valid());
  EXPECT_EQ(image.width(), 21);
  EXPECT_EQ(image.height(), 16);
  EXPECT_EQ(image.dib().dsBm.bmWidthBytes, 64);
  for (int y : {0, 7, 15}) {
    ExpectNear(image.at(3, y), {220, 30, 40}, 10, "red band");
    ExpectNear(image.at(11, y), {20, 200, 40}, 10, "green band");
    ExpectNear(image.at(19, y), {20, 30, 210}, 10, "blue band");
  }
}

TEST(DecodeJpeg, GreyscaleComesOutAsEqualChannels) {
  std::vector<unsigned char> grey;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      grey.push_back(x < 8 ? 40 : 200);
    }
  }
  Decoded image(Decode(Encode(grey, 16, 8, 1, JCS_GRAYSCALE)));
  ASSERT_TRUE(image.valid());
  ExpectNear(image.at(2, 4), {40, 40, 40}, 6, "dark half");
  ExpectNear(image.at(13, 4), {200, 200, 200}, 6, "light half");
}

TEST(DecodeJpeg, BadDataGivesNullWithoutEndingTheProcess) {
  const std::vector<unsigned char> banner = ResourceBytes(IDR_BANNER_TOP);
  ASSERT_GT(banner.size(), 1000u);

  EXPECT_EQ(DecodeJpeg(nullptr, 100), nullptr);
  EXPECT_EQ(DecodeJpeg(banner.data(), 0), nullptr);

  std::vector<unsigned char> noise(4096);
  for (std::size_t i = 0; i < noise.size(); ++i) {
    noise[i] = static_cast<unsigned char>(i * 7919u >> 3);
  }
  EXPECT_EQ(Decode(noise), nullptr) << "no JPEG at all";

  for (std::size_t keep : {std::size_t{2}, std::size_t{100}, banner.size() / 2, banner.size() - 2}) {
    const std::vector<unsigned char> cut(banner.begin(), banner.begin() + keep);
    EXPECT_EQ(Decode(cut), nullptr) << "truncated to " << keep << " bytes";
  }

  std::vector<unsigned char> noStart = banner;
  noStart[1] = 0x00;
  EXPECT_EQ(Decode(noStart), nullptr) << "start-of-image marker damaged";
}

TEST(DecodeJpeg, ForgedFrameSizesGiveNull) {
  const std::vector<unsigned char> valid = ThreeBands();
  const std::size_t at = FrameSizeOffset(valid);
  ASSERT_NE(at, 0u);

  std::vector<unsigned char> empty = valid;
  empty[at] = 0;
  empty[at + 1] = 0;
  EXPECT_EQ(Decode(empty), nullptr) << "zero height";

  // 60000 by 60000 would need about 10 GB; the decoder must refuse before allocating.
  std::vector<unsigned char> huge = valid;
  huge[at] = huge[at + 2] = 0xEA;
  huge[at + 1] = huge[at + 3] = 0x60;
  EXPECT_EQ(Decode(huge), nullptr);
}

TEST(DecodeJpeg, CmykIsRefused) {
  std::vector<unsigned char> cmyk(16 * 8 * 4, 128);
  EXPECT_EQ(Decode(Encode(cmyk, 16, 8, 4, JCS_CMYK)), nullptr);
}
