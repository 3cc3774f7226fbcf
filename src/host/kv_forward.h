#pragma once

// Forward declarations of the Korvel interfaces as the add-in uses them.
// Their operations are declared in host/*.def. For all of them: any
// operation may raise a RuntimeError (the host's failure); an object result
// is a shared reference the caller keeps as long as it likes (Nothing where
// an operation says so); an object is used on the thread that received it
// (apartment model).
#include "host/com_types.h"
#include "runtime/dispatch.h"

namespace vtx {

class KvSession;
class KvGlobals;
class KvUserInfo;
class KvConfiguration;
class KvClasses;
class KvClassList;
class KvClass;
class KvClassLinks;
class KvAttributes;
class KvAttribute;
class KvObjectStore;
class KvObject;
class KvObjects;
class KvOptions;
class KvSequences;
class KvSequence;
class KvLookupTable;
class KvLookupItem;
class KvObjectDisplay;
class KvRecord;
class KvRecordList;
class KvHeader;
class KvHeaderField;
class KvStrings;
class KvQueryFactory;
class KvQuery;
class KvQueryClasses;
class KvQueryConditions;
class KvSelectList;
class KvSqlQuery;
class KvTreeQuery;
class KvGuiServices;
class KvCommonGui;
class KvViewFactory;
class KvView;
class KvViewContent;
class KvGuiWindow;
class KvGuiNotifier;
class KvIntegrationStore;
class KvIntegrationEditor;
class KvSessionUtil;
class NlsCatalog;
class GenerateRpt;
class FileSystemObject;

// The result of a tree expansion and of ObjectsFromRecords: a collection whose
// record list holds composite rows (F.*, S.*, L.* columns).
using KvCompositeObjects = KvObjects;

}  // namespace vtx
