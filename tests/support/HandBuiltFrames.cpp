#include "support/HandBuiltFrames.h"

FrameBytes& FrameBytes::Lines(std::uint8_t value, std::uint8_t direction, int repeat) {
  for (int i = 0; i < repeat; ++i) Raw({0x80, value, direction});
  return *this;
}

FrameBytes& FrameBytes::Divisor(std::uint16_t divisor) {
  return Raw({0x86, static_cast<std::uint8_t>(divisor & 0xFF), static_cast<std::uint8_t>(divisor >> 8)});
}

FrameBytes& FrameBytes::BytesOut(std::initializer_list<std::uint8_t> data) {
  const auto length = static_cast<unsigned>(data.size() - 1);
  Raw({0x11, static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8)});
  bytes.insert(bytes.end(), data);
  return *this;
}

FrameBytes& FrameBytes::BitsOut(int count, std::uint8_t data) {
  return Raw({0x13, static_cast<std::uint8_t>(count - 1), data});
}

FrameBytes& FrameBytes::BytesInOnRisingEdge(int count) {
  return Raw({0x20, static_cast<std::uint8_t>(count - 1), 0x00});
}

FrameBytes& FrameBytes::BytesInOnFallingEdge(int count) {
  return Raw({0x24, static_cast<std::uint8_t>(count - 1), 0x00});
}

FrameBytes& FrameBytes::BitsIn(int count) { return Raw({0x2E, static_cast<std::uint8_t>(count - 1)}); }

FrameBytes& FrameBytes::Raw(std::initializer_list<std::uint8_t> more) {
  // Byte by byte: GCC 12 at -O3 misreads a range insert here as writing past
  // the end (-Wstringop-overflow).
  for (const std::uint8_t byte : more) bytes.push_back(byte);
  return *this;
}

std::vector<std::uint8_t> AdcFrameBytes(std::uint8_t shadow) {
  const auto selected = static_cast<std::uint8_t>(shadow & 0xF6);
  const auto deselected = static_cast<std::uint8_t>(selected | 0x08);
  FrameBytes frame;
  frame.Divisor(72);
  for (int conversion = 0; conversion < 128; ++conversion) {
    frame.Lines(selected, kDriveAll)
        .BitsOut(4, 0xF0)
        .Lines(selected, kReleaseData)
        .BytesInOnRisingEdge(2)
        .Lines(deselected, kDriveAll);
  }
  return frame.bytes;
}

namespace {

// Clocks one byte out and then the acknowledge bit in, the data line released.
void ByteAndAcknowledge(FrameBytes& frame, std::uint8_t clockLow, std::uint8_t byte) {
  frame.BytesOut({byte}).Lines(clockLow, kReleaseData).BitsIn(1);
}

}  // namespace

std::vector<std::uint8_t> ExpanderWriteFrameBytes(std::uint8_t opening, std::uint8_t registerNumber, std::uint8_t port0,
                                                  std::uint8_t port1) {
  const auto dataLow = static_cast<std::uint8_t>(opening & 0xFD);
  const auto clockLow = static_cast<std::uint8_t>(dataLow & 0xFE);
  const auto clockHigh = static_cast<std::uint8_t>(clockLow | 0x01);
  const auto dataHigh = static_cast<std::uint8_t>(clockHigh | 0x02);
  FrameBytes frame;
  frame.Divisor(66).Lines(opening, kDriveAll, 4).Lines(dataLow, kDriveAll, 4).Lines(clockLow, kDriveAll);
  ByteAndAcknowledge(frame, clockLow, 0x40);
  frame.Lines(clockLow, kDriveAll, 26);
  ByteAndAcknowledge(frame, clockLow, registerNumber);
  frame.Lines(clockLow, kDriveAll, 26);
  ByteAndAcknowledge(frame, clockLow, port0);
  frame.Lines(clockLow, kDriveAll, 26);
  ByteAndAcknowledge(frame, clockLow, port1);
  frame.Lines(clockLow, kDriveAll, 29)
      .Lines(clockHigh, kDriveAll, 4)
      .Lines(dataHigh, kDriveAll, 3)
      .Lines(static_cast<std::uint8_t>(dataHigh | 0x20), kDriveAll);
  return frame.bytes;
}

std::vector<std::uint8_t> ExpanderReadFrameBytes(std::uint8_t shadow, std::uint8_t registerNumber) {
  const auto opening = static_cast<std::uint8_t>((shadow & 0xDF) | 0x01);
  const auto dataLow = static_cast<std::uint8_t>(opening & 0xFD);
  const auto clockLow = static_cast<std::uint8_t>(dataLow & 0xFE);
  const auto clockHigh = static_cast<std::uint8_t>(clockLow | 0x01);
  const auto dataHigh = static_cast<std::uint8_t>(clockHigh | 0x02);
  const auto bothHigh = static_cast<std::uint8_t>(clockLow | 0x03);
  const auto repeatedStart = static_cast<std::uint8_t>(bothHigh & 0xFD);
  FrameBytes frame;
  frame.Divisor(66).Lines(opening, kDriveAll, 4).Lines(dataLow, kDriveAll, 4).Lines(clockLow, kDriveAll);
  ByteAndAcknowledge(frame, clockLow, 0x40);
  frame.Lines(clockLow, kDriveAll, 26);
  ByteAndAcknowledge(frame, clockLow, registerNumber);
  frame.Lines(clockLow, kDriveAll, 25)
      .Lines(bothHigh, kDriveAll, 4)
      .Lines(repeatedStart, kDriveAll, 4)
      .Lines(clockLow, kDriveAll);
  ByteAndAcknowledge(frame, clockLow, 0x41);
  frame.Lines(clockLow, kDriveAll, 30)
      .Lines(clockLow, kReleaseData)
      .BytesInOnFallingEdge(1)
      .BitsIn(1)
      .Lines(clockLow, kDriveAll, 25)
      .Lines(clockLow, kReleaseData)
      .BytesInOnFallingEdge(1)
      .Lines(clockLow, kReleaseData)
      .BitsIn(1)
      .Lines(clockLow, kDriveAll, 29)
      .Lines(clockHigh, kDriveAll, 4)
      .Lines(dataHigh, kDriveAll, 3)
      .Lines(static_cast<std::uint8_t>(dataHigh | 0x20), kDriveAll);
  return frame.bytes;
}

std::vector<std::uint8_t> DacFrameBytes(std::uint8_t channelByte, std::uint16_t code) {
  FrameBytes frame;
  frame.Lines(0xEA, kDriveAll)
      .BytesOut({channelByte, static_cast<std::uint8_t>(code >> 4), static_cast<std::uint8_t>(code << 4)})
      .Lines(0xFA, kDriveAll);
  return frame.bytes;
}
