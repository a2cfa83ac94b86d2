#pragma once
// The skin data unit: everything a skinned form or control needs to read a
// skin. The value readers and the records, the skin data component with its
// colours and text table, and compressed skins.

#include "CompressedSkin.h"
#include "SkinControlRecords.h"
#include "SkinExtraControlRecords.h"
#include "SkinIniValues.h"
#include "SkinMessages.h"
#include "SkinObjectRecords.h"
#include "SkinRecordFactory.h"
#include "TbsCompressedSkinList.h"
#include "TbsCompressedStoredSkin.h"
#include "TbsResourceStrData.h"
#include "TbsSkinColors.h"
#include "TbsSkinData.h"
#include "ZlibStreams.h"
