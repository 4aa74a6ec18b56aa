#include "platform/messaging/BMessage.h"

#include "platform/messaging/BMessenger.h"
#include "platform/messaging/BusConnection.h"
#include "platform/messaging/WireFormat.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace {

// Header: magic "OVMF", version, flags, what, field count, total size.
constexpr char kMagic[4] = {'O', 'V', 'M', 'F'};
constexpr uint16 kVersion = 1;
constexpr size_t kHeaderSize = 20;

// Byte size of a fixed-size type's value; 0 for variable-size types.
size_t FixedSize(type_code type)
{
  switch (type) {
  case B_BOOL_TYPE:
  case B_INT8_TYPE: return 1;
  case B_INT16_TYPE: return 2;
  case B_INT32_TYPE:
  case B_FLOAT_TYPE: return 4;
  case B_INT64_TYPE:
  case B_DOUBLE_TYPE:
  case B_POINTER_TYPE:
  case B_POINT_TYPE: return 8;
  case B_RECT_TYPE: return 16;
  default: return 0;
  }
}

bool ValidName(const char* name)
{
  if (name == nullptr)
    return false;
  size_t length = strlen(name);
  return length > 0 && length <= BMessage::kMaxNameLength;
}

std::string EncodeLE(uint64 value, int bytes)
{
  std::string out;
  WireWriter(&out).WriteUInt64(value);
  out.resize(bytes);
  return out;
}

uint64 DecodeLE(const std::string& bytes)
{
  uint64 value = 0;
  for (size_t i = 0; i < bytes.size() && i < 8; i++)
    value |= uint64(uint8(bytes[i])) << (8 * i);
  return value;
}

std::string EncodeFloat(float value)
{
  uint32 bits;
  memcpy(&bits, &value, 4);
  return EncodeLE(bits, 4);
}

float DecodeFloat(const std::string& bytes, size_t offset = 0)
{
  uint32 bits = uint32(DecodeLE(bytes.substr(offset, 4)));
  float value;
  memcpy(&value, &bits, 4);
  return value;
}

std::string EncodeDouble(double value)
{
  uint64 bits;
  memcpy(&bits, &value, 8);
  return EncodeLE(bits, 8);
}

double DecodeDouble(const std::string& bytes)
{
  uint64 bits = DecodeLE(bytes);
  double value;
  memcpy(&value, &bits, 8);
  return value;
}

std::string EncodeRect(BRect r)
{
  return EncodeFloat(r.left) + EncodeFloat(r.top) + EncodeFloat(r.right) + EncodeFloat(r.bottom);
}

std::string EncodePointer(const void* value)
{
  return EncodeLE(uint64(reinterpret_cast<uintptr_t>(value)), 8);
}

void* DecodePointer(const std::string& bytes)
{
  return reinterpret_cast<void*>(uintptr_t(DecodeLE(bytes)));
}

std::string FourCharText(uint32 code)
{
  char text[5];
  for (int i = 0; i < 4; i++)
    text[i] = char((code >> (24 - 8 * i)) & 0xff);
  text[4] = '\0';
  for (int i = 0; i < 4; i++) {
    if (!isprint(uint8(text[i]))) {
      char hex[16];
      snprintf(hex, sizeof hex, "0x%08" PRIx32, code);
      return hex;
    }
  }
  return std::string("'") + text + "'";
}

} // namespace

BMessage::~BMessage() = default;

// Checks that `bytes` are one value of `type`; nested messages are checked
// to their last byte, no deeper than kMaxNestingDepth.
bool BMessage::ValidValue(type_code type, const std::string& bytes, int depth)
{
  size_t fixed = FixedSize(type);
  if (fixed != 0) {
    if (bytes.size() != fixed)
      return false;
    return type != B_BOOL_TYPE || uint8(bytes[0]) <= 1;
  }
  switch (type) {
  case B_STRING_TYPE: return bytes.find('\0') == std::string::npos;
  case B_MESSAGE_TYPE: {
    BMessage nested;
    return depth <= kMaxNestingDepth && nested.UnflattenAt(bytes.data(), bytes.size(), depth) == B_OK;
  }
  case B_MESSENGER_TYPE: return BMessenger::ParseAddress(bytes, nullptr, nullptr);
  default: return true;
  }
}

const BMessage::Field* BMessage::FindField(const char* name) const
{
  if (name == nullptr)
    return nullptr;
  for (const Field& field : fFields) {
    if (field.name == name)
      return &field;
  }
  return nullptr;
}

BMessage::Field* BMessage::FindField(const char* name)
{
  return const_cast<Field*>(static_cast<const BMessage*>(this)->FindField(name));
}

status_t BMessage::AddValue(const char* name, type_code type, std::string bytes)
{
  if (!ValidName(name) || !ValidValue(type, bytes, 1))
    return B_BAD_VALUE;
  Field* field = FindField(name);
  if (field == nullptr) {
    if (fFields.size() >= kMaxFieldCount)
      return B_BAD_VALUE;
    fFields.push_back(Field{name, type, {}});
    field = &fFields.back();
  } else if (field->type != type) {
    return B_BAD_TYPE;
  } else if (field->values.size() >= kMaxValueCount) {
    return B_BAD_VALUE;
  }
  field->values.push_back(std::move(bytes));
  return B_OK;
}

status_t BMessage::FindValue(const char* name, type_code type, int32 index,
                             const std::string** bytes) const
{
  const Field* field = FindField(name);
  if (field == nullptr)
    return B_NAME_NOT_FOUND;
  if (type != B_ANY_TYPE && field->type != type)
    return B_BAD_TYPE;
  if (index < 0 || size_t(index) >= field->values.size())
    return B_BAD_INDEX;
  *bytes = &field->values[index];
  return B_OK;
}

status_t BMessage::ReplaceValue(const char* name, type_code type, int32 index, std::string bytes)
{
  const std::string* old;
  status_t status = FindValue(name, type, index, &old);
  if (status != B_OK)
    return status;
  if (!ValidValue(type, bytes, 1))
    return B_BAD_VALUE;
  *const_cast<std::string*>(old) = std::move(bytes);
  return B_OK;
}

status_t BMessage::AddBool(const char* name, bool value) { return AddValue(name, B_BOOL_TYPE, EncodeLE(value, 1)); }
status_t BMessage::AddInt8(const char* name, int8 value) { return AddValue(name, B_INT8_TYPE, EncodeLE(uint8(value), 1)); }
status_t BMessage::AddInt16(const char* name, int16 value) { return AddValue(name, B_INT16_TYPE, EncodeLE(uint16(value), 2)); }
status_t BMessage::AddInt32(const char* name, int32 value) { return AddValue(name, B_INT32_TYPE, EncodeLE(uint32(value), 4)); }
status_t BMessage::AddInt64(const char* name, int64 value) { return AddValue(name, B_INT64_TYPE, EncodeLE(uint64(value), 8)); }
status_t BMessage::AddFloat(const char* name, float value) { return AddValue(name, B_FLOAT_TYPE, EncodeFloat(value)); }
status_t BMessage::AddDouble(const char* name, double value) { return AddValue(name, B_DOUBLE_TYPE, EncodeDouble(value)); }
status_t BMessage::AddPointer(const char* name, const void* value) { return AddValue(name, B_POINTER_TYPE, EncodePointer(value)); }
status_t BMessage::AddMessenger(const char* name, const BMessenger& value)
{
  return AddValue(name, B_MESSENGER_TYPE, value.Address());
}

status_t BMessage::AddRect(const char* name, BRect value) { return AddValue(name, B_RECT_TYPE, EncodeRect(value)); }
status_t BMessage::AddPoint(const char* name, BPoint value)
{
  return AddValue(name, B_POINT_TYPE, EncodeFloat(value.x) + EncodeFloat(value.y));
}

status_t BMessage::AddString(const char* name, const char* value)
{
  return value == nullptr ? B_BAD_VALUE : AddValue(name, B_STRING_TYPE, value);
}

status_t BMessage::AddString(const char* name, const std::string& value)
{
  return AddValue(name, B_STRING_TYPE, value);
}

status_t BMessage::AddMessage(const char* name, const BMessage* value)
{
  std::string flat;
  if (value == nullptr || value->Flatten(&flat) != B_OK)
    return B_BAD_VALUE;
  return AddValue(name, B_MESSAGE_TYPE, std::move(flat));
}

status_t BMessage::AddData(const char* name, type_code type, const void* data, ssize_t size)
{
  if (size < 0 || (data == nullptr && size > 0) || type == B_ANY_TYPE)
    return B_BAD_VALUE;
  return AddValue(name, type, std::string(static_cast<const char*>(data), size_t(size)));
}

// Find calls: look the value up, then decode it.
#define OVA_FIND(Method, Type, code, decode)                                      \
  status_t BMessage::Method(const char* name, int32 index, Type* value) const     \
  {                                                                               \
    const std::string* bytes;                                                     \
    status_t status = FindValue(name, code, index, &bytes);                       \
    if (status == B_OK && value != nullptr)                                       \
      *value = decode;                                                            \
    return status;                                                                \
  }

OVA_FIND(FindBool, bool, B_BOOL_TYPE, (*bytes)[0] != 0)
OVA_FIND(FindInt8, int8, B_INT8_TYPE, int8(DecodeLE(*bytes)))
OVA_FIND(FindInt16, int16, B_INT16_TYPE, int16(DecodeLE(*bytes)))
OVA_FIND(FindInt32, int32, B_INT32_TYPE, int32(DecodeLE(*bytes)))
OVA_FIND(FindInt64, int64, B_INT64_TYPE, int64(DecodeLE(*bytes)))
OVA_FIND(FindFloat, float, B_FLOAT_TYPE, DecodeFloat(*bytes))
OVA_FIND(FindDouble, double, B_DOUBLE_TYPE, DecodeDouble(*bytes))
OVA_FIND(FindString, const char*, B_STRING_TYPE, bytes->c_str())
OVA_FIND(FindString, std::string, B_STRING_TYPE, *bytes)
OVA_FIND(FindPointer, void*, B_POINTER_TYPE, DecodePointer(*bytes))
OVA_FIND(FindMessenger, BMessenger, B_MESSENGER_TYPE, BMessenger::FromAddress(*bytes))
OVA_FIND(FindRect, BRect, B_RECT_TYPE,
         BRect(DecodeFloat(*bytes, 0), DecodeFloat(*bytes, 4), DecodeFloat(*bytes, 8), DecodeFloat(*bytes, 12)))
OVA_FIND(FindPoint, BPoint, B_POINT_TYPE, BPoint(DecodeFloat(*bytes, 0), DecodeFloat(*bytes, 4)))
#undef OVA_FIND

status_t BMessage::FindMessage(const char* name, int32 index, BMessage* value) const
{
  const std::string* bytes;
  status_t status = FindValue(name, B_MESSAGE_TYPE, index, &bytes);
  if (status == B_OK && value != nullptr)
    status = value->Unflatten(bytes->data(), bytes->size());
  return status;
}

status_t BMessage::FindData(const char* name, type_code type, int32 index, const void** data,
                            ssize_t* size) const
{
  const std::string* bytes;
  status_t status = FindValue(name, type, index, &bytes);
  if (status == B_OK) {
    if (data != nullptr)
      *data = bytes->data();
    if (size != nullptr)
      *size = ssize_t(bytes->size());
  }
  return status;
}

bool BMessage::HasData(const char* name, type_code type, int32 index) const
{
  const std::string* bytes;
  return FindValue(name, type, index, &bytes) == B_OK;
}

// Get calls: the found value, else the default.
#define OVA_GET(Method, Type, Find)                                      \
  Type BMessage::Method(const char* name, Type defaultValue) const       \
  {                                                                      \
    Type value;                                                          \
    return Find(name, 0, &value) == B_OK ? value : defaultValue;         \
  }

OVA_GET(GetBool, bool, FindBool)
OVA_GET(GetInt8, int8, FindInt8)
OVA_GET(GetInt16, int16, FindInt16)
OVA_GET(GetInt32, int32, FindInt32)
OVA_GET(GetInt64, int64, FindInt64)
OVA_GET(GetFloat, float, FindFloat)
OVA_GET(GetDouble, double, FindDouble)
OVA_GET(GetString, const char*, FindString)
OVA_GET(GetRect, BRect, FindRect)
OVA_GET(GetPoint, BPoint, FindPoint)
#undef OVA_GET

void* BMessage::GetPointer(const char* name, const void* defaultValue) const
{
  void* value;
  return FindPointer(name, 0, &value) == B_OK ? value : const_cast<void*>(defaultValue);
}

status_t BMessage::ReplaceBool(const char* name, int32 index, bool value) { return ReplaceValue(name, B_BOOL_TYPE, index, EncodeLE(value, 1)); }
status_t BMessage::ReplaceInt8(const char* name, int32 index, int8 value) { return ReplaceValue(name, B_INT8_TYPE, index, EncodeLE(uint8(value), 1)); }
status_t BMessage::ReplaceInt16(const char* name, int32 index, int16 value) { return ReplaceValue(name, B_INT16_TYPE, index, EncodeLE(uint16(value), 2)); }
status_t BMessage::ReplaceInt32(const char* name, int32 index, int32 value) { return ReplaceValue(name, B_INT32_TYPE, index, EncodeLE(uint32(value), 4)); }
status_t BMessage::ReplaceInt64(const char* name, int32 index, int64 value) { return ReplaceValue(name, B_INT64_TYPE, index, EncodeLE(uint64(value), 8)); }
status_t BMessage::ReplaceFloat(const char* name, int32 index, float value) { return ReplaceValue(name, B_FLOAT_TYPE, index, EncodeFloat(value)); }
status_t BMessage::ReplaceDouble(const char* name, int32 index, double value) { return ReplaceValue(name, B_DOUBLE_TYPE, index, EncodeDouble(value)); }
status_t BMessage::ReplacePointer(const char* name, int32 index, const void* value) { return ReplaceValue(name, B_POINTER_TYPE, index, EncodePointer(value)); }
status_t BMessage::ReplaceMessenger(const char* name, int32 index, const BMessenger& value)
{
  return ReplaceValue(name, B_MESSENGER_TYPE, index, value.Address());
}

status_t BMessage::ReplaceRect(const char* name, int32 index, BRect value) { return ReplaceValue(name, B_RECT_TYPE, index, EncodeRect(value)); }
status_t BMessage::ReplacePoint(const char* name, int32 index, BPoint value)
{
  return ReplaceValue(name, B_POINT_TYPE, index, EncodeFloat(value.x) + EncodeFloat(value.y));
}

status_t BMessage::ReplaceString(const char* name, int32 index, const char* value)
{
  return value == nullptr ? B_BAD_VALUE : ReplaceValue(name, B_STRING_TYPE, index, value);
}

status_t BMessage::ReplaceString(const char* name, int32 index, const std::string& value)
{
  return ReplaceValue(name, B_STRING_TYPE, index, value);
}

status_t BMessage::ReplaceMessage(const char* name, int32 index, const BMessage* value)
{
  std::string flat;
  if (value == nullptr || value->Flatten(&flat) != B_OK)
    return B_BAD_VALUE;
  return ReplaceValue(name, B_MESSAGE_TYPE, index, std::move(flat));
}

status_t BMessage::ReplaceData(const char* name, type_code type, int32 index, const void* data,
                               ssize_t size)
{
  if (size < 0 || (data == nullptr && size > 0) || type == B_ANY_TYPE)
    return B_BAD_VALUE;
  return ReplaceValue(name, type, index, std::string(static_cast<const char*>(data), size_t(size)));
}

status_t BMessage::RemoveData(const char* name, int32 index)
{
  const std::string* bytes;
  status_t status = FindValue(name, B_ANY_TYPE, index, &bytes);
  if (status != B_OK)
    return status;
  Field* field = FindField(name);
  field->values.erase(field->values.begin() + index);
  if (field->values.empty())
    return RemoveName(name);
  return B_OK;
}

status_t BMessage::RemoveName(const char* name)
{
  const Field* field = FindField(name);
  if (field == nullptr)
    return B_NAME_NOT_FOUND;
  fFields.erase(fFields.begin() + (field - fFields.data()));
  return B_OK;
}

status_t BMessage::MakeEmpty()
{
  fFields.clear();
  return B_OK;
}

int32 BMessage::CountNames(type_code type) const
{
  int32 count = 0;
  for (const Field& field : fFields) {
    if (type == B_ANY_TYPE || field.type == type)
      count++;
  }
  return count;
}

status_t BMessage::GetInfo(const char* name, type_code* type, int32* count) const
{
  const Field* field = FindField(name);
  if (field == nullptr)
    return B_NAME_NOT_FOUND;
  if (type != nullptr)
    *type = field->type;
  if (count != nullptr)
    *count = int32(field->values.size());
  return B_OK;
}

status_t BMessage::GetInfo(type_code type, int32 index, const char** name, type_code* typeFound,
                           int32* count) const
{
  if (index < 0)
    return B_BAD_INDEX;
  for (const Field& field : fFields) {
    if (type != B_ANY_TYPE && field.type != type)
      continue;
    if (index-- > 0)
      continue;
    if (name != nullptr)
      *name = field.name.c_str();
    if (typeFound != nullptr)
      *typeFound = field.type;
    if (count != nullptr)
      *count = int32(field.values.size());
    return B_OK;
  }
  return CountNames(type) == 0 ? B_BAD_TYPE : B_BAD_INDEX;
}

void BMessage::PrintToStream() const
{
  printf("BMessage(%s) {\n", FourCharText(what).c_str());
  PrintFields(1);
  printf("}\n");
}

void BMessage::PrintFields(int indent) const
{
  const std::string pad(size_t(indent) * 4, ' ');
  for (const Field& field : fFields) {
    for (size_t i = 0; i < field.values.size(); i++) {
      const std::string& bytes = field.values[i];
      printf("%s%s", pad.c_str(), field.name.c_str());
      if (field.values.size() > 1)
        printf("[%zu]", i);
      printf(" = ");
      switch (field.type) {
      case B_BOOL_TYPE: printf("bool(%s)\n", bytes[0] ? "true" : "false"); break;
      case B_INT8_TYPE: printf("int8(%d)\n", int(int8(DecodeLE(bytes)))); break;
      case B_INT16_TYPE: printf("int16(%d)\n", int(int16(DecodeLE(bytes)))); break;
      case B_INT32_TYPE: printf("int32(%" PRId32 ")\n", int32(DecodeLE(bytes))); break;
      case B_INT64_TYPE: printf("int64(%" PRId64 ")\n", int64(DecodeLE(bytes))); break;
      case B_FLOAT_TYPE: printf("float(%.4f)\n", DecodeFloat(bytes)); break;
      case B_DOUBLE_TYPE: printf("double(%.8g)\n", DecodeDouble(bytes)); break;
      case B_STRING_TYPE: printf("string(\"%s\", %zu bytes)\n", bytes.c_str(), bytes.size()); break;
      case B_POINTER_TYPE: printf("pointer(0x%" PRIx64 ")\n", DecodeLE(bytes)); break;
      case B_MESSENGER_TYPE: {
        BMessenger messenger = BMessenger::FromAddress(bytes);
        printf("messenger(bus \"%s\", path \"%s\")\n", messenger.BusName().c_str(), messenger.Path().c_str());
        break;
      }
      case B_RECT_TYPE:
        printf("BRect(l:%.1f, t:%.1f, r:%.1f, b:%.1f)\n", DecodeFloat(bytes, 0), DecodeFloat(bytes, 4),
               DecodeFloat(bytes, 8), DecodeFloat(bytes, 12));
        break;
      case B_POINT_TYPE: printf("BPoint(x:%.1f, y:%.1f)\n", DecodeFloat(bytes, 0), DecodeFloat(bytes, 4)); break;
      case B_MESSAGE_TYPE: {
        BMessage nested;
        nested.Unflatten(bytes.data(), bytes.size());
        printf("BMessage(%s) {\n", FourCharText(nested.what).c_str());
        nested.PrintFields(indent + 1);
        printf("%s}\n", pad.c_str());
        break;
      }
      default: {
        printf("%s(%zu bytes)", FourCharText(field.type).c_str(), bytes.size());
        for (size_t b = 0; b < bytes.size() && b < 16; b++)
          printf(" %02x", uint8(bytes[b]));
        printf("%s\n", bytes.size() > 16 ? " ..." : "");
        break;
      }
      }
    }
  }
}

ssize_t BMessage::FlattenedSize() const
{
  size_t size = kHeaderSize;
  for (const Field& field : fFields) {
    size += 4 + 1 + field.name.size() + 4;
    for (const std::string& value : field.values)
      size += 4 + value.size();
  }
  return ssize_t(size);
}

status_t BMessage::Flatten(std::string* out) const
{
  size_t size = size_t(FlattenedSize());
  if (out == nullptr || size > kMaxFlattenedSize)
    return B_BAD_VALUE;
  out->clear();
  out->reserve(size);
  WireWriter w(out);
  w.WriteBytes(kMagic, 4);
  w.WriteUInt16(kVersion);
  w.WriteUInt16(0);
  w.WriteUInt32(what);
  w.WriteUInt32(uint32(fFields.size()));
  w.WriteUInt32(uint32(size));
  for (const Field& field : fFields) {
    w.WriteUInt32(field.type);
    w.WriteUInt8(uint8(field.name.size()));
    w.WriteBytes(field.name.data(), field.name.size());
    w.WriteUInt32(uint32(field.values.size()));
    for (const std::string& value : field.values) {
      w.WriteUInt32(uint32(value.size()));
      w.WriteBytes(value.data(), value.size());
    }
  }
  return B_OK;
}

status_t BMessage::Flatten(char* buffer, ssize_t size) const
{
  std::string flat;
  status_t status = Flatten(&flat);
  if (status != B_OK)
    return status;
  if (buffer == nullptr || size < 0 || size_t(size) < flat.size())
    return B_BAD_VALUE;
  memcpy(buffer, flat.data(), flat.size());
  return B_OK;
}

status_t BMessage::Unflatten(const char* data, size_t size)
{
  return UnflattenAt(data, size, 0);
}

status_t BMessage::UnflattenAt(const char* data, size_t size, int depth)
{
  fFields.clear();
  what = 0;
  fReturnAddress.clear();
  fSourceRemote = false;
  fSenderName.clear();

  BMessage result;
  auto fail = [this]() {
    fFields.clear();
    what = 0;
    return B_BAD_DATA;
  };
  if (data == nullptr || size < kHeaderSize || size > kMaxFlattenedSize)
    return fail();
  WireReader in(data, size);
  const char* magic;
  uint16 version, flags;
  uint32 fieldCount, totalSize;
  in.ReadBytes(4, &magic);
  in.ReadUInt16(&version);
  in.ReadUInt16(&flags);
  in.ReadUInt32(&result.what);
  in.ReadUInt32(&fieldCount);
  in.ReadUInt32(&totalSize);
  if (memcmp(magic, kMagic, 4) != 0 || version != kVersion || flags != 0 || totalSize != size
      || fieldCount > kMaxFieldCount)
    return fail();

  std::unordered_set<std::string> names;
  for (uint32 f = 0; f < fieldCount; f++) {
    Field field;
    uint8 nameLength;
    const char* name;
    uint32 valueCount;
    if (!in.ReadUInt32(&field.type) || !in.ReadUInt8(&nameLength) || nameLength == 0
        || !in.ReadBytes(nameLength, &name) || memchr(name, '\0', nameLength) != nullptr
        || !in.ReadUInt32(&valueCount) || valueCount == 0 || valueCount > kMaxValueCount
        || field.type == B_ANY_TYPE)
      return fail();
    field.name.assign(name, nameLength);
    if (!names.insert(field.name).second)
      return fail();
    for (uint32 v = 0; v < valueCount; v++) {
      uint32 length;
      const char* bytes;
      if (!in.ReadUInt32(&length) || !in.ReadBytes(length, &bytes))
        return fail();
      std::string value(bytes, length);
      if (!ValidValue(field.type, value, depth + 1))
        return fail();
      field.values.push_back(std::move(value));
    }
    result.fFields.push_back(std::move(field));
  }
  if (!in.AtEnd())
    return fail();
  what = result.what;
  fFields = std::move(result.fFields);
  return B_OK;
}

BMessenger BMessage::ReturnAddress() const
{
  return BMessenger::FromAddress(fReturnAddress);
}

BMessenger BMessage::Sender() const
{
  return fSenderName.empty() ? BMessenger() : BMessenger::Remote(fSenderName, BusConnection::kAppPath);
}

void BMessage::SetReturnAddress(const std::string& address, bool remote)
{
  fReturnAddress = address;
  fSourceRemote = remote;
}
