// The player's picture for the wonder's icon, decoded by the system's Windows Imaging Component,
// which every Windows keeps up to date. Literals here are code page 936.
#include "picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <functional>

#include "win32_text.h"
#include "window_rules.h"
#include "wondergen/windows_system.h"

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

using OpenDecoder = std::function<HRESULT(IWICImagingFactory*, IWICBitmapDecoder**)>;

// Why a picture cannot be the icon, in the program's words; `header` gives the sides of one too
// large, and `result` the system's reason where the file could not be opened.
std::wstring Why(PictureProblem problem, const PictureHeader& header, HRESULT result) {
  switch (problem) {
    case PictureProblem::kNone: break;
    case PictureProblem::kCannotOpen:
      return WidenCp936("无法打开这个文件：") +
             DescribeError({static_cast<int>(result & 0xFFFF), std::system_category()});
    case PictureProblem::kNotAPicture:
      return WidenCp936("这不是能读取的图片，请选择 PNG、JPEG、BMP 或 GIF 图片。");
    case PictureProblem::kDamaged: return WidenCp936("图片不完整或已损坏。");
    case PictureProblem::kNoPixels: return WidenCp936("图片没有任何像素（宽或高为 0）。");
    case PictureProblem::kTooLarge:
      return WidenCp936("图片超过 5000 万像素（") + std::to_wstring(header.width) + L" × " +
             std::to_wstring(header.height) + WidenCp936("），太大了。");
  }
  return L"";
}

// The picture of the decoder that `open` makes, refused where `header`, read from the file's first
// bytes, or the decoder's sides say that it cannot be. A picture larger than the icon needs is
// scaled as it is decoded (WIC's scaler, in premultiplied alpha as FitIcon resamples, so that no
// transparent edge turns dark), a row at a time, so that the whole of it is never held here.
std::optional<Picture> Decode(const OpenDecoder& open, PictureHeader header, std::wstring& why,
                              std::uint64_t largest) {
  Com<IWICImagingFactory> factory;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  Com<IWICBitmapScaler> scaler;
  UINT width = 0, height = 0;
  PictureProblem problem = HeaderProblem(header, largest);
  if (problem != PictureProblem::kNone) {
    why = Why(problem, header, S_OK);
    return std::nullopt;
  }
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory.pointer));
  if (SUCCEEDED(result)) result = open(factory.pointer, &decoder);
  if (SUCCEEDED(result)) result = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(result)) result = frame->GetSize(&width, &height);
  const PictureHeader decoded = {header.format, true, width, height};
  if (SUCCEEDED(result) && (problem = HeaderProblem(decoded, largest)) != PictureProblem::kNone) {
    why = Why(problem, decoded, S_OK);
    return std::nullopt;
  }
  const auto [scaledWidth, scaledHeight] = DecodeSides(width, height);
  const bool scaled = scaledWidth != width || scaledHeight != height;
  if (SUCCEEDED(result)) result = factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(result))
    result = converter->Initialize(
        frame.pointer, scaled ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppRGBA,
        WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom);
  IWICBitmapSource* source = converter.pointer;
  if (SUCCEEDED(result) && scaled) {
    result = factory->CreateBitmapScaler(&scaler);
    if (SUCCEEDED(result))
      result = scaler->Initialize(converter.pointer, scaledWidth, scaledHeight,
                                  WICBitmapInterpolationModeFant);
    source = scaler.pointer;
  }
  Picture picture{scaledWidth, scaledHeight, {}};
  if (SUCCEEDED(result)) picture.rgba.resize(std::size_t(scaledWidth) * scaledHeight * 4);
  const UINT stride = scaledWidth * 4;
  for (UINT y = 0; SUCCEEDED(result) && y < scaledHeight; ++y) {
    const WICRect row = {0, static_cast<INT>(y), static_cast<INT>(scaledWidth), 1};
    result = source->CopyPixels(&row, stride, stride, &picture.rgba[std::size_t(y) * stride]);
  }
  // Premultiplied BGRA made straight RGBA again.
  for (std::size_t at = 0; scaled && at < picture.rgba.size(); at += 4) {
    std::uint8_t* pixel = &picture.rgba[at];
    const unsigned alpha = pixel[3];
    const auto straight = [alpha](unsigned value) {
      return std::uint8_t(alpha == 0 ? 0 : std::min(255u, (value * 255 + alpha / 2) / alpha));
    };
    const std::uint8_t blue = pixel[0];
    pixel[0] = straight(pixel[2]), pixel[1] = straight(pixel[1]), pixel[2] = straight(blue);
  }
  if (SUCCEEDED(result)) return Upright(picture, header.orientation);
  why = Why(ChoosePictureProblem(static_cast<std::uint32_t>(result), header), header, result);
  return std::nullopt;
}

// The first bytes of a file, where the headers of each format lie: a JPEG's frame header comes
// behind its EXIF data and colour profile, of 64 KiB each at most.
constexpr DWORD kHeadBytes = 256 * 1024;

}  // namespace

// The file is opened once for its first bytes, sharing it with every other program, and then by
// the Component; a picture changed in between is decoded as the Component finds it, its sides
// checked again.
std::optional<Picture> ReadPictureFile(const std::wstring& file, std::wstring& why) {
  const std::wstring path = platform::ExtendedPath(file);
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size = {};
  std::string head;
  DWORD error =
      handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size) ? GetLastError() : 0;
  if (error == 0) {
    head.resize(std::size_t(std::min<LONGLONG>(size.QuadPart, kHeadBytes)));
    DWORD read = 0;
    for (std::size_t at = 0; error == 0 && at < head.size(); at += read) {
      if (!ReadFile(handle, &head[at], static_cast<DWORD>(head.size() - at), &read, nullptr))
        error = GetLastError();
      if (read == 0) head.resize(at);  // the file grew shorter meanwhile
    }
  }
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (error != 0) {
    why = Why(PictureProblem::kCannotOpen, {}, HRESULT_FROM_WIN32(error));
    return std::nullopt;
  }
  return Decode(
      [&path](IWICImagingFactory* factory, IWICBitmapDecoder** decoder) {
        return factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder);
      },
      ReadPictureHeader(head, std::uint64_t(size.QuadPart)), why, kLargestPicture);
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
      ReadPictureHeader(bytes, bytes.size()), why, largest);
}

}  // namespace wondergen::ui
