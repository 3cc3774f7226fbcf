// A Korvel stand-in for the script client: the session, the class
// dictionary, an object store over an in-memory database, record lists and
// the other host objects the audit-trail operations reach, written as plain
// JScript objects so that they reach VTX_HA.dll as IDispatch. Every method
// is a closure (no reliance on `this`), and every call is counted by name.

var ATTRIBUTE_TEXT = 1, ATTRIBUTE_INT16 = 2, ATTRIBUTE_INT32 = 3, ATTRIBUTE_REFERENCE = 10;

function KorvelStandIn() {
  var host = {calls: {}, inserted: [], options: [], globals: {}, failures: {}};
  var nextObjectId = 100;

  function count(name) {
    host.calls[name] = (host.calls[name] || 0) + 1;
    if (host.failures[name]) throw host.failures[name];
  }
  function attribute(name, external, type, lookup, excluded) {
    return {name: name, external: external, type: type, lookup: lookup || 0, excluded: !!excluded};
  }

  // The data model: classes by id, with their attributes in order.
  var classes = {
    100: {id: 100, superId: 100, name: "Part", table: "TN_PARTS", kind: 1, identifiers: ["PART_NUMBER", "REVISION"],
          attributes: [attribute("PART_NUMBER", "Part Number", ATTRIBUTE_TEXT), attribute("REVISION", "Revision", ATTRIBUTE_TEXT),
                       attribute("TITLE", "Title", ATTRIBUTE_TEXT), attribute("STATE", "State", ATTRIBUTE_REFERENCE, 900),
                       attribute("QTY", "Quantity", ATTRIBUTE_INT16), attribute("NOTE", "Note", ATTRIBUTE_TEXT, 0, true)]},
    400: {id: 400, superId: 400, name: "User", table: "TN_USERS", kind: 1, identifiers: ["LOGIN"],
          attributes: [attribute("LOGIN", "Login", ATTRIBUTE_TEXT), attribute("LAST_NAME", "Last Name", ATTRIBUTE_TEXT),
                       attribute("FIRST_NAME", "First Name", ATTRIBUTE_TEXT)]},
    500: {id: 500, superId: 500, name: "Electronic Record", table: "TN_ER", kind: 1, identifiers: [],
          attributes: [attribute("CN_USER_ID", "User Id", ATTRIBUTE_INT32), attribute("CN_USER_NAME", "User Name", ATTRIBUTE_TEXT),
                       attribute("CN_MACHINE_NAME", "Machine", ATTRIBUTE_TEXT), attribute("CN_USER_NT_ID", "Logon Name", ATTRIBUTE_TEXT),
                       attribute("CN_OBJECT_ID", "Object Id", ATTRIBUTE_INT32), attribute("CN_CLASS_ID", "Class Id", ATTRIBUTE_INT16),
                       attribute("CN_HOOK_OPERATION", "Operation", ATTRIBUTE_TEXT), attribute("CN_DESCRIPTION", "Description", ATTRIBUTE_TEXT)]},
    510: {id: 510, superId: 510, name: "Part_Records", table: "TN_PART_ER", kind: 7, identifiers: [], ends: [500, 100],
          attributes: []},
    900: {id: 900, superId: 900, name: "States", table: "TN_STATES", kind: 5, identifiers: [], attributes: [],
          items: {1: "New", 2: "Released"}}
  };

  // Stored objects by "class:id": the values as the database holds them.
  host.database = {
    "400:7": {LOGIN: "jdoe", LAST_NAME: "Doe", FIRST_NAME: "J\u00f6rg"},
    "100:1": {PART_NUMBER: "4711", REVISION: "A", TITLE: "Bolt", STATE: 1, QTY: null, NOTE: "internal"}
  };
  host.currentUser = {classId: 400, objectId: 7};
  host.language = "de-DE";
  host.font = "Tahoma";

  function list(items, make) {
    var self = {};
    self.GetCount = function () { count("KvList.GetCount"); return items.length; };
    self.Item = function (index) {
      count("KvList.Item");
      if (typeof index == "string") {
        for (var i = 0; i < items.length; ++i) if (items[i].name == index) return make(items[i]);
        throw new Error(9, "Subscript out of range");
      }
      if (index < 0 || index >= items.length) throw new Error(9, "Subscript out of range");
      return make(items[index]);
    };
    self.ItemByName = function (name) { return self.Item(String(name)); };
    return self;
  }

  function makeAttribute(a) {
    return {
      GetName: function () { count("KvAttribute.GetName"); return a.name; },
      GetExternalName: function () { count("KvAttribute.GetExternalName"); return a.external; },
      GetAttributeType: function () { count("KvAttribute.GetAttributeType"); return a.type; },
      GetLookupClassId: function () { count("KvAttribute.GetLookupClassId"); return a.lookup; },
      GetLength: function () { return 80; },
      IsExcludedFromHistory: function () { count("KvAttribute.IsExcludedFromHistory"); return a.excluded; }
    };
  }

  function makeClass(c) {
    var self = {};
    self.GetClassId = function () { count("KvClass.GetClassId"); return c.id; };
    self.GetSuperClassId = function () { count("KvClass.GetSuperClassId"); return c.superId; };
    self.GetName = function () { count("KvClass.GetName"); return c.name; };
    self.GetTableName = function () { return c.table; };
    self.GetClassKind = function () { count("KvClass.GetClassKind"); return c.kind; };
    self.GetAttributes = function () {
      count("KvClass.GetAttributes");
      var attributes = list(c.attributes, makeAttribute);
      attributes.GetClass = function () { return makeClass(c); };
      return attributes;
    };
    self.GetIdentifierAttributes = function () {
      var identifiers = [];
      for (var i = 0; i < c.attributes.length; ++i)
        for (var j = 0; j < c.identifiers.length; ++j)
          if (c.attributes[i].name == c.identifiers[j]) identifiers.push(c.attributes[i]);
      return list(identifiers, makeAttribute);
    };
    self.AttributeByName = function (name, flags) {
      count("KvClass.AttributeByName");
      for (var i = 0; i < c.attributes.length; ++i) if (c.attributes[i].name == name) return makeAttribute(c.attributes[i]);
      throw new Error(-2147220991, "Attribute " + name + " unknown in class " + c.name);
    };
    self.HasAttribute = function (name) {
      for (var i = 0; i < c.attributes.length; ++i) if (c.attributes[i].name == name) return true;
      return false;
    };
    self.GetClassLinks = function () {
      count("KvClass.GetClassLinks");
      return {
        GetTo: function (otherId) {
          count("KvClassLinks.GetTo");
          var links = [];
          for (var id in classes) {
            var link = classes[id];
            if (link.ends && ((link.ends[0] == c.superId && link.ends[1] == otherId) ||
                              (link.ends[1] == c.superId && link.ends[0] == otherId))) links.push(link);
          }
          return list(links, makeClass);
        }
      };
    };
    return self;
  }

  function classById(id) { return classes[id] ? makeClass(classes[id]) : null; }

  // An instance of an object: its own copy of the values, read on Retrieve.
  function makeObject(classId, objectId, values) {
    var c = classes[classId];
    var self = {};
    var own = values || {};
    function value(name) {
      if (name == "CLASS_ID") return classId;
      if (name == "OBJECT_ID") return objectId;
      return own.hasOwnProperty(name) ? own[name] : undefined;
    }
    self.GetObjectId = function () { count("KvObject.GetObjectId"); return objectId; };
    self.GetClassId = function () { count("KvObject.GetClassId"); return classId; };
    self.GetClass = function () { count("KvObject.GetClass"); return makeClass(c); };
    self.GetValue = function (name) { count("KvObject.GetValue"); var v = value(name); return v === undefined ? null : v; };
    self.SetValue = function (name, v) { own[name] = v; };
    self.GetAttributeCount = function () { count("KvObject.GetAttributeCount"); return c.attributes.length; };
    self.GetAttributes = function () { return makeClass(c).GetAttributes(); };
    self.GetKeyText = function (separator) {
      count("KvObject.GetKeyText");
      var parts = [];
      for (var i = 0; i < c.identifiers.length; ++i) parts.push(own[c.identifiers[i]]);
      return parts.join(separator);
    };
    self.GetData = function () {
      count("KvObject.GetData");
      function set(name, v) { own[name] = v; }
      return {
        GetValue: function (name) { count("KvRecord.GetValue"); var v = value(name); return v === undefined ? null : v; },
        SetValue: function (name, v) { count("KvRecord.SetValue"); set(name, v); },
        SetStringValue: function (name, v) { count("KvRecord.SetStringValue"); set(name, String(v)); },
        SetLongValue: function (name, v) { count("KvRecord.SetLongValue"); set(name, v); },
        SetIntegerValue: function (name, v) { count("KvRecord.SetIntegerValue"); set(name, v); },
        GetValueAsString: function (name) { count("KvRecord.GetValueAsString"); var v = value(name); return v == null ? "" : String(v); },
        SetBooleanValue: function (name, v) { set(name, v); },
        SetDoubleValue: function (name, v) { set(name, v); }
      };
    };
    self.NewInstance = function () { count("KvObject.NewInstance"); return makeObject(classId, objectId); };
    self.PrepareNew = function () { count("KvObject.PrepareNew"); };
    self.CompleteNew = function () {};
    self.ApplyClassDefaults = function () { count("KvObject.ApplyClassDefaults"); return true; };
    function read() {
      var stored = host.database[classId + ":" + objectId];
      if (!stored) throw new Error(-2147220990, "Object " + classId + ":" + objectId + " does not exist");
      own = {};
      for (var name in stored) own[name] = stored[name];
    }
    self.Retrieve = function () { count("KvObject.Retrieve"); read(); };
    self.Refresh = function () { count("KvObject.Refresh"); read(); };
    self.Insert = function (options) {
      count("KvObject.Insert");
      if (!objectId) objectId = nextObjectId++;
      var stored = {};
      for (var name in own) stored[name] = own[name];
      host.database[classId + ":" + objectId] = stored;
      host.inserted.push({classId: classId, objectId: objectId, values: stored, options: options.state});
    };
    self.CreateLink = function (linkClassId, other) {
      count("KvObject.CreateLink");
      return makeObject(linkClassId, 0, {CLASS_ID1: classId, OBJECT_ID1: objectId,
                                         CLASS_ID2: other.GetClassId(), OBJECT_ID2: other.GetObjectId()});
    };
    return self;
  }
  host.makeObject = makeObject;

  function makeOptions(state) {
    var self = {state: state};
    self.Copy = function () {
      count("KvOptions.Copy");
      var copy = {};
      for (var name in state) copy[name] = state[name];
      return makeOptions(copy);
    };
    self.SetMode = function (mode) { count("KvOptions.SetMode"); state.mode = mode; };
    self.SetFlagA = function (flag) { state.flagA = flag; };
    self.SetFlagB = function (flag) { state.flagB = flag; };
    self.SetFlagC = function (flag) { state.flagC = flag; };
    return self;
  }

  function makeObjects(items) {
    var self = list(items, function (o) { return o; });
    self.GetCopy = function () { count("KvObjects.GetCopy"); return makeObjects(items.slice(0)); };
    return self;
  }

  // Queries are built but never run here: the model has no class "History".
  var query = {
    GetQueryClasses: function () { return {AddClass: function (classId, alias) { count("KvQueryClasses.AddClass"); }}; }
  };

  var store = {
    GetQueryFactory: function () { count("KvObjectStore.GetQueryFactory"); return {GetQuery: function () { return query; }}; },
    ObjectFromRecord: function (record, flag) {
      count("KvObjectStore.ObjectFromRecord");
      var o = makeObject(record.GetValue("CLASS_ID"), record.GetValue("OBJECT_ID"));
      o.Retrieve();
      return o;
    },
    CreateObject: function (classId) { count("KvObjectStore.CreateObject"); return makeObject(classId, 0); },
    ObjectsFromRecordList: function (records, flag) {
      count("KvObjectStore.ObjectsFromRecordList");
      var items = [];
      for (var row = 0; row < records.GetRecordCount(); ++row)
        items.push(makeObject(records.GetValue("CLASS_ID", row), records.GetValue("OBJECT_ID", row)));
      return makeObjects(items);
    },
    GetDefaultOptions: function () { count("KvObjectStore.GetDefaultOptions"); return makeOptions({mode: 0, flagA: true, flagB: true, flagC: true}); },
    GetLookupItemById: function (classId, id) {
      count("KvObjectStore.GetLookupItemById");
      var text = classes[classId].items[id];
      if (text === undefined) return null;
      return {GetId: function () { return id; }, GetText: function () { return text; }};
    },
    GetObjectById: function (classId, objectId) {
      var o = makeObject(classId, objectId);
      o.Retrieve();
      return o;
    }
  };

  host.session = {
    GetObjectStore: function () { count("KvSession.GetObjectStore"); return store; },
    GetClasses: function () {
      count("KvSession.GetClasses");
      return {
        ClassById: function (id) { count("KvClasses.ClassById"); return classById(id); },
        ClassByName: function (name) {
          count("KvClasses.ClassByName");
          for (var id in classes) if (classes[id].name == name) return makeClass(classes[id]);
          return null;
        }
      };
    },
    GetGlobals: function () {
      count("KvSession.GetGlobals");
      return {
        GetValue: function (name) { count("KvGlobals.GetValue"); return host.globals.hasOwnProperty(name) ? host.globals[name] : null; },
        SetValue: function (name, v) { count("KvGlobals.SetValue"); host.globals[name] = v; }
      };
    },
    GetUserInfo: function () {
      count("KvSession.GetUserInfo");
      return {
        GetCurrentUser: function () {
          count("KvUserInfo.GetCurrentUser");
          if (!host.currentUser) return null;
          return makeObject(host.currentUser.classId, host.currentUser.objectId);
        }
      };
    },
    GetLanguage: function () { count("KvSession.GetLanguage"); return host.language; },
    GetConfiguration: function () {
      count("KvSession.GetConfiguration");
      return {GetValue: function (path) { count("KvConfiguration.GetValue"); return path == "$Admin\\System Font\\FontName" ? host.font : ""; }};
    }
  };

  // The record list Korvel hands over: rows of CLASS_ID and OBJECT_ID.
  host.recordList = function (rows) {
    return {
      GetRecordCount: function () { count("KvRecordList.GetRecordCount"); return rows.length; },
      GetValue: function (column, row) {
        count("KvRecordList.GetValue");
        if (row < 0 || row >= rows.length || !rows[row].hasOwnProperty(column)) throw new Error(9, "Subscript out of range");
        return rows[row][column];
      },
      HasGuiSelection: function () { count("KvRecordList.HasGuiSelection"); return 0; },
      GetRecord: function (row) {
        count("KvRecordList.GetRecord");
        return {GetValue: function (column) { return rows[row][column]; }};
      }
    };
  };
  return host;
}
