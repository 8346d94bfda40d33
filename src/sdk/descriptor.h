#pragma once
// Scripting descriptors: the read and write procedure tables and the parameters record,
// all naturally aligned.
#include "sdk/types.h"

namespace corvanthe::sdk {

using DescriptorKeyID = uint32_t;
using DescriptorTypeID = uint32_t;
using DescriptorEnumID = uint32_t;
using DescriptorClassID = uint32_t;
using DescriptorUnitID = uint32_t;
using PIDescriptorHandle = Handle;
using PIReadDescriptor = void*;
using PIWriteDescriptor = void*;

constexpr int16_t kCurrentReadDescVersion = 0;
constexpr int16_t kCurrentReadDescCount = 18;
constexpr int16_t kCurrentWriteDescVersion = 0;
constexpr int16_t kCurrentWriteDescCount = 16;
constexpr int16_t kCurrentDescParamsVersion = 0;

// playInfo values.
enum PIDialogPlayOptions : int16_t {
    plugInDialogDontDisplay = 0,
    plugInDialogDisplay = 1,
    plugInDialogSilent = 2,
};

// recordInfo values.
enum PIDialogRecordOptions : int16_t {
    plugInDialogOptional = 0,
    plugInDialogRequired = 1,
    plugInDialogNone = 2,
};

using OpenReadDescriptorProc = PIReadDescriptor(CORVANTHE_HOST_API*)(PIDescriptorHandle, DescriptorKeyID*);
using CloseReadDescriptorProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor);
using GetKeyProc = Boolean(CORVANTHE_HOST_API*)(PIReadDescriptor, DescriptorKeyID*, DescriptorTypeID*, int32_t*);
using GetIntegerProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, int32_t*);
using GetFloatProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, double*);
using GetUnitFloatProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, DescriptorUnitID*, double*);
using GetBooleanProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, Boolean*);
using GetTextProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, Handle*);
using GetAliasProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, Handle*);
using GetEnumeratedProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, DescriptorEnumID*);
using GetClassProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, DescriptorClassID*);
using GetSimpleReferenceProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, void*);
using GetObjectProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, DescriptorClassID*, PIDescriptorHandle*);
using GetCountProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, uint32_t*);
using GetStringProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, unsigned char*);
using GetPinnedIntegerProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, int32_t, int32_t, int32_t*);
using GetPinnedFloatProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, const double*, const double*, double*);
using GetPinnedUnitFloatProc = OSErr(CORVANTHE_HOST_API*)(PIReadDescriptor, const double*, const double*,
                                                          DescriptorUnitID*, double*);

struct ReadDescriptorProcs {
    int16_t readDescriptorProcsVersion;
    int16_t numReadDescriptorProcs;
    OpenReadDescriptorProc openReadDescriptorProc;
    CloseReadDescriptorProc closeReadDescriptorProc;
    GetKeyProc getKeyProc;
    GetIntegerProc getIntegerProc;
    GetFloatProc getFloatProc;
    GetUnitFloatProc getUnitFloatProc;
    GetBooleanProc getBooleanProc;
    GetTextProc getTextProc;
    GetAliasProc getAliasProc;
    GetEnumeratedProc getEnumeratedProc;
    GetClassProc getClassProc;
    GetSimpleReferenceProc getSimpleReferenceProc;
    GetObjectProc getObjectProc;
    GetCountProc getCountProc;
    GetStringProc getStringProc;
    GetPinnedIntegerProc getPinnedIntegerProc;
    GetPinnedFloatProc getPinnedFloatProc;
    GetPinnedUnitFloatProc getPinnedUnitFloatProc;
};

using OpenWriteDescriptorProc = PIWriteDescriptor(CORVANTHE_HOST_API*)();
using CloseWriteDescriptorProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, PIDescriptorHandle*);
using PutIntegerProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, int32_t);
using PutFloatProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, const double*);
using PutUnitFloatProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorUnitID,
                                                    const double*);
using PutBooleanProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, Boolean);
using PutTextProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, Handle);
using PutAliasProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, Handle);
using PutEnumeratedProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID,
                                                     DescriptorEnumID);
using PutClassProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
using PutSimpleReferenceProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, const void*);
using PutObjectProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID,
                                                 PIDescriptorHandle);
using PutCountProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, uint32_t);
using PutStringProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, const unsigned char*);
using PutScopedClassProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
using PutScopedObjectProc = OSErr(CORVANTHE_HOST_API*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID,
                                                       PIDescriptorHandle);

struct WriteDescriptorProcs {
    int16_t writeDescriptorProcsVersion;
    int16_t numWriteDescriptorProcs;
    OpenWriteDescriptorProc openWriteDescriptorProc;
    CloseWriteDescriptorProc closeWriteDescriptorProc;
    PutIntegerProc putIntegerProc;
    PutFloatProc putFloatProc;
    PutUnitFloatProc putUnitFloatProc;
    PutBooleanProc putBooleanProc;
    PutTextProc putTextProc;
    PutAliasProc putAliasProc;
    PutEnumeratedProc putEnumeratedProc;
    PutClassProc putClassProc;
    PutSimpleReferenceProc putSimpleReferenceProc;
    PutObjectProc putObjectProc;
    PutCountProc putCountProc;
    PutStringProc putStringProc;
    PutScopedClassProc putScopedClassProc;
    PutScopedObjectProc putScopedObjectProc;
};

struct PIDescriptorParameters {
    int16_t descriptorParametersVersion;
    int16_t playInfo;
    int16_t recordInfo;
    PIDescriptorHandle descriptor;
    WriteDescriptorProcs* writeDescriptorProcs;
    ReadDescriptorProcs* readDescriptorProcs;
};

}  // namespace corvanthe::sdk
