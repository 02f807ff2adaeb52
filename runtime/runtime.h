// runtime.h: the runtime support library, one include for programs and the toolkit.
#pragma once
#include "strings.h"
#include "text.h"
#include "errors.h"
#include "startup.h"
#include "hash.h"
#include "assoc.h"
