// String array access.
#include "lists/string_array.h"

#include "frame/host.h"

namespace vnk {

bool StringArrayBounds(SAFEARRAY* array, LONG* lower, LONG* upper) {
  if (array == nullptr || SafeArrayGetDim(array) != 1) return false;
  // Element moves copy whole elements; only an array that holds strings can take one.
  if (!(array->fFeatures & FADF_BSTR) || SafeArrayGetElemsize(array) != sizeof(BSTR)) return false;
  return SUCCEEDED(SafeArrayGetLBound(array, 1, lower)) && SUCCEEDED(SafeArrayGetUBound(array, 1, upper));
}

bool PutString(SAFEARRAY* array, LONG index, std::string_view text) {
  UniqueBstr value(NewString(text));
  if (!value) return false;
  return SUCCEEDED(SafeArrayPutElement(array, &index, value.get()));
}

}  // namespace vnk
