// The registry scan: walks a key and everything below it, depth first, and
// reports value names, string data and subkey names that carry a threat tag
// together with a file extension. Nothing in the registry is changed.
//
// Found-object records written to foundList, seven ";"-separated fields
// (six separators), nothing escaped:
//   value name hit   row;[r]code,keyPath->valueName;PUP.tag;view;;;
//   value data hit   row;[rv]code,keyPath->valueName->data;PUP.tag;view;;;
//   subkey name hit  row;[rk]code,subkeyPath;PUP.tag;view;;;
// row: the list1 row index; code: the RootCode; keyPath: the key holding the
// value as the walk reached it; subkeyPath: the full path of the subkey.
// view (field 3): "32" or "64" when the walk ran in that registry view, ""
// for the default view. The clean must act in the same view: a record of the
// 32-bit tree names a key that the 64-bit view doesn't show at that path.
// Older lines (field 3 empty) mean the default view. Read the view with
// RecordRegistryView: it counts from the end, since a path or text may hold ";".
#pragma once

#include <string>
#include <string_view>

#include "app/app_context.h"
#include "platform/registry.h"

namespace veltrane {

// Walks root\path ("" is the root itself) in the given view. A key that
// can't be opened yields nothing; a key whose path contains an exclusion is
// skipped with everything below it. Stops before the next value or subkey
// once abortRequested is set. The texts are matched in batches of up to 256:
// the records and the window's rows come a little after the walk passed
// them, in the walk's order, all of them before this returns.
void ScanRegistryTree(AppContext& context, RegistryRoot root, std::string_view path,
                      RegistryView view = RegistryView::kDefault);

// Field 3 of a found-object record as written above.
std::string_view RegistryViewField(RegistryView view);
// The view named by a found-object record's view field (the one before the
// final ";;;"); kDefault when it is empty, missing or unknown.
RegistryView RecordRegistryView(std::string_view record);

}  // namespace veltrane
