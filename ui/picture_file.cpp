// The player's picture for the wonder's icon, decoded by the system's Windows Imaging Component,
// which every Windows keeps up to date. Literals here are code page 936.
#include "picture_file.h"

#include <wincodec.h>

#include <functional>

#include "win32_text.h"
#include "window_rules.h"

namespace wondergen::ui {
namespace {

// A COM pointer, released when it goes.
template <typename Interface>
struct Com {
  Interface* pointer = nullptr;
  ~Com() {
    if (pointer != nullptr) pointer->Release();
  }
  Interface* operator->() const { return pointer; }
  Interface** operator&() { return &pointer; }
};

// The orientation that the picture's EXIF data gives a JPEG (tag 274); 1 where it gives none.
int Orientation(IWICBitmapFrameDecode* frame) {
  Com<IWICMetadataQueryReader> metadata;
  PROPVARIANT value;
  PropVariantInit(&value);
  int orientation = 1;
  if (SUCCEEDED(frame->GetMetadataQueryReader(&metadata)) &&
      SUCCEEDED(metadata->GetMetadataByName(L"/app1/ifd/{ushort=274}", &value)) &&
      value.vt == VT_UI2)
    orientation = value.uiVal;
  PropVariantClear(&value);
  return orientation;
}

using OpenDecoder = std::function<HRESULT(IWICImagingFactory*, IWICBitmapDecoder**)>;

// The picture of the decoder that `open` makes.
std::optional<Picture> Decode(const OpenDecoder& open, std::wstring& why, std::uint64_t largest) {
  Com<IWICImagingFactory> factory;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  Picture picture;
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory.pointer));
  if (SUCCEEDED(result)) result = open(factory.pointer, &decoder);
  if (SUCCEEDED(result)) result = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(result)) result = frame->GetSize(&width, &height);
  if (SUCCEEDED(result) && (width == 0 || height == 0)) {
    why = WidenCp936("图片没有任何像素（宽或高为 0）。");
    return std::nullopt;
  }
  if (SUCCEEDED(result) && std::uint64_t(width) * height > largest) {
    why = WidenCp936("图片超过 5000 万像素（") + std::to_wstring(width) + L" × " +
          std::to_wstring(height) + WidenCp936("），太大了。");
    return std::nullopt;
  }
  if (SUCCEEDED(result)) result = factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(result))
    result =
        converter->Initialize(frame.pointer, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                              nullptr, 0.0, WICBitmapPaletteTypeCustom);
  if (SUCCEEDED(result)) {
    picture = {width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
    result = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.rgba.size()),
                                   picture.rgba.data());
  }
  if (SUCCEEDED(result)) return Upright(picture, Orientation(frame.pointer));
  switch (ChoosePictureProblem(static_cast<std::uint32_t>(result))) {
    case PictureProblem::kCannotOpen:
      why = WidenCp936("无法打开这个文件：") +
            DescribeError({static_cast<int>(result & 0xFFFF), std::system_category()});
      break;
    case PictureProblem::kNotAPicture:
      why = WidenCp936("这不是能读取的图片，请选择 PNG、JPEG、BMP 或 GIF 图片。");
      break;
    case PictureProblem::kDamaged: why = WidenCp936("图片不完整或已损坏。"); break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Picture> ReadPictureFile(const std::wstring& file, std::wstring& why) {
  return Decode(
      [&file](IWICImagingFactory* factory, IWICBitmapDecoder** decoder) {
        return factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder);
      },
      why, kLargestPicture);
}

// The decoder holds the stream, and the stream the bytes, which outlive the decoding.
std::optional<Picture> DecodePictureFile(std::string_view bytes, std::wstring& why,
                                         std::uint64_t largest) {
  return Decode(
      [bytes](IWICImagingFactory* factory, IWICBitmapDecoder** decoder) {
        Com<IWICStream> stream;
        HRESULT result = factory->CreateStream(&stream);
        if (SUCCEEDED(result))
          result =
              stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                           static_cast<DWORD>(bytes.size()));
        if (SUCCEEDED(result))
          result = factory->CreateDecoderFromStream(stream.pointer, nullptr,
                                                    WICDecodeMetadataCacheOnDemand, decoder);
        return result;
      },
      why, largest);
}

}  // namespace wondergen::ui
