#pragma once

// Every Korvel interface the add-in uses.
#include "host/kv_class.h"
#include "host/kv_codes.h"
#include "host/kv_components.h"
#include "host/kv_gui.h"
#include "host/kv_object.h"
#include "host/kv_object_store.h"
#include "host/kv_query.h"
#include "host/kv_record.h"
#include "host/kv_session.h"
