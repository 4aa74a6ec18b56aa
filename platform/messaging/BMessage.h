// A message: a 32-bit code `what` and ordered, typed, named fields. Each name
// holds one or more values of one type, kept in the order they were added.
// Messages travel between loopers of one program and, flattened, between
// programs on the session bus (docs/ipc.md gives the byte layout).
//
//   BMessage request('_KXT');
//   request.AddBool("_ask", true);
//   request.AddString("_okName", "get Date");
//   int64 preset = request.GetInt64("_presetTime", 0);
//
// Find calls return B_NAME_NOT_FOUND for a missing name, B_BAD_TYPE when the
// name holds another type and B_BAD_INDEX beyond its values; Get calls
// return the given default in all three cases.
#pragma once

#include "platform/support/BRect.h"
#include "platform/support/SupportDefs.h"

#include <string>
#include <vector>

class BMessenger;


class BMessage {
public:
  // Limits of the flattened form; Unflatten refuses anything beyond them.
  static constexpr size_t kMaxFlattenedSize = 16 * 1024 * 1024;
  static constexpr uint32 kMaxFieldCount = 4096;
  static constexpr uint32 kMaxValueCount = 65536;
  static constexpr size_t kMaxNameLength = 255;
  static constexpr int kMaxNestingDepth = 16;

  uint32 what = 0;

  BMessage() = default;
  explicit BMessage(uint32 code) : what(code) {}
  BMessage(const BMessage& other) = default;
  BMessage& operator=(const BMessage& other) = default;
  ~BMessage();

  status_t AddBool(const char* name, bool value);
  status_t AddInt8(const char* name, int8 value);
  status_t AddInt16(const char* name, int16 value);
  status_t AddInt32(const char* name, int32 value);
  status_t AddInt64(const char* name, int64 value);
  status_t AddFloat(const char* name, float value);
  status_t AddDouble(const char* name, double value);
  status_t AddString(const char* name, const char* value);
  status_t AddString(const char* name, const std::string& value);
  status_t AddPointer(const char* name, const void* value);
  status_t AddMessenger(const char* name, const BMessenger& value);
  status_t AddRect(const char* name, BRect value);
  status_t AddPoint(const char* name, BPoint value);
  status_t AddMessage(const char* name, const BMessage* value);
  // Raw bytes under a type code; a known type's bytes must be a valid value
  // of that type (four bytes for B_INT32_TYPE, and so on).
  status_t AddData(const char* name, type_code type, const void* data, ssize_t size);

  status_t FindBool(const char* name, bool* value) const { return FindBool(name, 0, value); }
  status_t FindBool(const char* name, int32 index, bool* value) const;
  status_t FindInt8(const char* name, int8* value) const { return FindInt8(name, 0, value); }
  status_t FindInt8(const char* name, int32 index, int8* value) const;
  status_t FindInt16(const char* name, int16* value) const { return FindInt16(name, 0, value); }
  status_t FindInt16(const char* name, int32 index, int16* value) const;
  status_t FindInt32(const char* name, int32* value) const { return FindInt32(name, 0, value); }
  status_t FindInt32(const char* name, int32 index, int32* value) const;
  status_t FindInt64(const char* name, int64* value) const { return FindInt64(name, 0, value); }
  status_t FindInt64(const char* name, int32 index, int64* value) const;
  status_t FindFloat(const char* name, float* value) const { return FindFloat(name, 0, value); }
  status_t FindFloat(const char* name, int32 index, float* value) const;
  status_t FindDouble(const char* name, double* value) const { return FindDouble(name, 0, value); }
  status_t FindDouble(const char* name, int32 index, double* value) const;
  // The pointer stays valid until the message changes.
  status_t FindString(const char* name, const char** value) const { return FindString(name, 0, value); }
  status_t FindString(const char* name, int32 index, const char** value) const;
  status_t FindString(const char* name, std::string* value) const { return FindString(name, 0, value); }
  status_t FindString(const char* name, int32 index, std::string* value) const;
  status_t FindPointer(const char* name, void** value) const { return FindPointer(name, 0, value); }
  status_t FindPointer(const char* name, int32 index, void** value) const;
  status_t FindMessenger(const char* name, BMessenger* value) const { return FindMessenger(name, 0, value); }
  status_t FindMessenger(const char* name, int32 index, BMessenger* value) const;
  status_t FindRect(const char* name, BRect* value) const { return FindRect(name, 0, value); }
  status_t FindRect(const char* name, int32 index, BRect* value) const;
  status_t FindPoint(const char* name, BPoint* value) const { return FindPoint(name, 0, value); }
  status_t FindPoint(const char* name, int32 index, BPoint* value) const;
  status_t FindMessage(const char* name, BMessage* value) const { return FindMessage(name, 0, value); }
  status_t FindMessage(const char* name, int32 index, BMessage* value) const;
  // B_ANY_TYPE matches a field of any type. The bytes stay valid until the
  // message changes.
  status_t FindData(const char* name, type_code type, const void** data, ssize_t* size) const
  {
    return FindData(name, type, 0, data, size);
  }
  status_t FindData(const char* name, type_code type, int32 index, const void** data, ssize_t* size) const;

  bool GetBool(const char* name, bool defaultValue) const;
  int8 GetInt8(const char* name, int8 defaultValue) const;
  int16 GetInt16(const char* name, int16 defaultValue) const;
  int32 GetInt32(const char* name, int32 defaultValue) const;
  int64 GetInt64(const char* name, int64 defaultValue) const;
  float GetFloat(const char* name, float defaultValue) const;
  double GetDouble(const char* name, double defaultValue) const;
  const char* GetString(const char* name, const char* defaultValue) const;
  void* GetPointer(const char* name, const void* defaultValue = nullptr) const;
  BRect GetRect(const char* name, BRect defaultValue) const;
  BPoint GetPoint(const char* name, BPoint defaultValue) const;

  bool HasBool(const char* name, int32 index = 0) const { return HasData(name, B_BOOL_TYPE, index); }
  bool HasInt8(const char* name, int32 index = 0) const { return HasData(name, B_INT8_TYPE, index); }
  bool HasInt16(const char* name, int32 index = 0) const { return HasData(name, B_INT16_TYPE, index); }
  bool HasInt32(const char* name, int32 index = 0) const { return HasData(name, B_INT32_TYPE, index); }
  bool HasInt64(const char* name, int32 index = 0) const { return HasData(name, B_INT64_TYPE, index); }
  bool HasFloat(const char* name, int32 index = 0) const { return HasData(name, B_FLOAT_TYPE, index); }
  bool HasDouble(const char* name, int32 index = 0) const { return HasData(name, B_DOUBLE_TYPE, index); }
  bool HasString(const char* name, int32 index = 0) const { return HasData(name, B_STRING_TYPE, index); }
  bool HasPointer(const char* name, int32 index = 0) const { return HasData(name, B_POINTER_TYPE, index); }
  bool HasMessenger(const char* name, int32 index = 0) const { return HasData(name, B_MESSENGER_TYPE, index); }
  bool HasRect(const char* name, int32 index = 0) const { return HasData(name, B_RECT_TYPE, index); }
  bool HasPoint(const char* name, int32 index = 0) const { return HasData(name, B_POINT_TYPE, index); }
  bool HasMessage(const char* name, int32 index = 0) const { return HasData(name, B_MESSAGE_TYPE, index); }
  bool HasData(const char* name, type_code type, int32 index = 0) const;

  status_t ReplaceBool(const char* name, bool value) { return ReplaceBool(name, 0, value); }
  status_t ReplaceBool(const char* name, int32 index, bool value);
  status_t ReplaceInt8(const char* name, int8 value) { return ReplaceInt8(name, 0, value); }
  status_t ReplaceInt8(const char* name, int32 index, int8 value);
  status_t ReplaceInt16(const char* name, int16 value) { return ReplaceInt16(name, 0, value); }
  status_t ReplaceInt16(const char* name, int32 index, int16 value);
  status_t ReplaceInt32(const char* name, int32 value) { return ReplaceInt32(name, 0, value); }
  status_t ReplaceInt32(const char* name, int32 index, int32 value);
  status_t ReplaceInt64(const char* name, int64 value) { return ReplaceInt64(name, 0, value); }
  status_t ReplaceInt64(const char* name, int32 index, int64 value);
  status_t ReplaceFloat(const char* name, float value) { return ReplaceFloat(name, 0, value); }
  status_t ReplaceFloat(const char* name, int32 index, float value);
  status_t ReplaceDouble(const char* name, double value) { return ReplaceDouble(name, 0, value); }
  status_t ReplaceDouble(const char* name, int32 index, double value);
  status_t ReplaceString(const char* name, const char* value) { return ReplaceString(name, 0, value); }
  status_t ReplaceString(const char* name, int32 index, const char* value);
  status_t ReplaceString(const char* name, const std::string& value) { return ReplaceString(name, 0, value); }
  status_t ReplaceString(const char* name, int32 index, const std::string& value);
  status_t ReplacePointer(const char* name, const void* value) { return ReplacePointer(name, 0, value); }
  status_t ReplacePointer(const char* name, int32 index, const void* value);
  status_t ReplaceMessenger(const char* name, const BMessenger& value) { return ReplaceMessenger(name, 0, value); }
  status_t ReplaceMessenger(const char* name, int32 index, const BMessenger& value);
  status_t ReplaceRect(const char* name, BRect value) { return ReplaceRect(name, 0, value); }
  status_t ReplaceRect(const char* name, int32 index, BRect value);
  status_t ReplacePoint(const char* name, BPoint value) { return ReplacePoint(name, 0, value); }
  status_t ReplacePoint(const char* name, int32 index, BPoint value);
  status_t ReplaceMessage(const char* name, const BMessage* value) { return ReplaceMessage(name, 0, value); }
  status_t ReplaceMessage(const char* name, int32 index, const BMessage* value);
  status_t ReplaceData(const char* name, type_code type, const void* data, ssize_t size)
  {
    return ReplaceData(name, type, 0, data, size);
  }
  status_t ReplaceData(const char* name, type_code type, int32 index, const void* data, ssize_t size);

  // Removes one value; the name goes when its last value goes.
  status_t RemoveData(const char* name, int32 index = 0);
  status_t RemoveName(const char* name);
  // Removes every field; `what` and the return address stay.
  status_t MakeEmpty();
  bool IsEmpty() const { return fFields.empty(); }

  // Number of names holding `type` (B_ANY_TYPE: all names).
  int32 CountNames(type_code type) const;
  status_t GetInfo(const char* name, type_code* type, int32* count = nullptr) const;
  // The index-th name holding `type` (B_ANY_TYPE: any), in field order.
  status_t GetInfo(type_code type, int32 index, const char** name, type_code* typeFound,
                   int32* count = nullptr) const;

  // Writes the code and every field to standard output.
  void PrintToStream() const;

  ssize_t FlattenedSize() const;
  // B_BAD_VALUE when the buffer is too small or the message is larger than
  // kMaxFlattenedSize.
  status_t Flatten(char* buffer, ssize_t size) const;
  status_t Flatten(std::string* out) const;
  // Replaces this message by the flattened one. Malformed, truncated or
  // oversized input gives B_BAD_DATA and leaves the message empty with
  // `what` 0.
  status_t Unflatten(const char* data, size_t size);

  // The messenger to whoever sent this message and asked for replies;
  // invalid when there is none.
  BMessenger ReturnAddress() const;
  // True when the message came from another program over the bus.
  bool IsSourceRemote() const { return fSourceRemote; }
  // The application object of the program that sent the message over the
  // bus, whatever return address it gave; invalid for this program's own.
  // Compared with BMessenger(signature), it tells who sent a message.
  BMessenger Sender() const;

private:
  friend class BLooper;
  friend class BMessenger;
  friend class BusConnection;

  struct Field {
    std::string name;
    type_code type;
    std::vector<std::string> values;
  };

  const Field* FindField(const char* name) const;
  Field* FindField(const char* name);
  status_t AddValue(const char* name, type_code type, std::string bytes);
  status_t FindValue(const char* name, type_code type, int32 index, const std::string** bytes) const;
  status_t ReplaceValue(const char* name, type_code type, int32 index, std::string bytes);
  void PrintFields(int indent) const;
  // Checks that `bytes` are one value of `type` for a message at nesting
  // level `depth`; nested messages are checked to their last byte.
  static bool ValidValue(type_code type, const std::string& bytes, int depth);
  status_t UnflattenAt(const char* data, size_t size, int depth);
  void SetReturnAddress(const std::string& address, bool remote);

  std::vector<Field> fFields;
  // A flattened messenger (BMessenger::Address), empty without one.
  std::string fReturnAddress;
  bool fSourceRemote = false;
  // The sending program's unique bus name, set by the bus connection.
  std::string fSenderName;
};
