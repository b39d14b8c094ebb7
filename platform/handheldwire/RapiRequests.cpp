#include "platform/handheldwire/RapiCalls.h"

#include "platform/handheldwire/WireFields.h"

namespace handheldwire {

namespace {
template <class Fields> bool CreateFileWords(Fields& fields, RapiRequest& r)
{
    return fields.U32(r.dwAccess) && fields.U32(r.dwShare) && fields.U32(r.dwCreation)
           && fields.U32(r.dwFlagsAndAttributes) && fields.U32(r.hTemplate);
}

// The arguments after the command code, in the order each version sends them.
template <class Fields> bool RequestLayout(Fields& fields, RapiRequest& request, RapiVersion version)
{
    const bool bV1 = version == RapiVersion::V1;
    // The name forms: a plain string, and the optional string V1 uses for some calls.
    const NameForm plain = bV1 ? NameForm::Counted : NameForm::Sized;
    const NameForm optional = bV1 ? NameForm::OptionalSized : NameForm::Sized;
    RapiRequest& r = request;
    switch (r.call) {
    case Call::CreateFile:
        // V1 sends the name last, V2 first.
        if (bV1)
            return CreateFileWords(fields, r) && fields.Name(r.strName, plain);
        return fields.Name(r.strName, plain) && CreateFileWords(fields, r);
    case Call::WriteFile:
        // V1: the data as an optional-in buffer, then no OVERLAPPED.
        if (bV1)
            return fields.U32(r.hFile) && fields.Marker(1) && fields.Blob(r.data) && fields.Marker(0);
        return fields.U32(r.hFile) && fields.Blob(r.data);
    case Call::ReadFile:
        // V1: the buffer as an optional-out (size only), then no OVERLAPPED.
        if (bV1)
            return fields.U32(r.hFile) && fields.Marker(1) && fields.U32(r.cbToRead) && fields.Marker(0)
                   && fields.Marker(0);
        return fields.U32(r.hFile) && fields.U32(r.cbToRead);
    case Call::CloseHandle:
    case Call::FindClose:
        return fields.U32(r.hFile);
    case Call::DeleteFile:
    case Call::RemoveDirectory:
        return fields.Name(r.strName, optional);
    case Call::CreateDirectory:
        // V1: no security attributes.
        return fields.Name(r.strName, optional) && (!bV1 || fields.Marker(0));
    case Call::FindAllFiles:
        return fields.Name(r.strName, plain) && fields.U32(r.dwFlags);
    case Call::FindFirstFile:
    case Call::GetFileAttributes:
        return fields.Name(r.strName, plain);
    case Call::MoveFile:
        return fields.Name(r.strName, optional) && fields.Name(r.strNewName, optional);
    case Call::CopyFile:
        return fields.Name(r.strName, optional) && fields.Name(r.strNewName, optional) && fields.Flag(r.bFailIfExists);
    case Call::GetSpecialFolderPath:
        return fields.U32(r.dwFolder) && fields.U32(r.cchBuffer);
    }
    return false;
}
}   // namespace

std::vector<std::uint8_t> EncodeRequest(const RapiRequest& request, RapiVersion version)
{
    CFieldWriter fields;
    RapiRequest copy = request;
    fields.Marker(CommandCode(request.call, version));
    RequestLayout(fields, copy, version);
    return fields.Take();
}

bool DecodeRequest(const std::uint8_t* p, std::size_t cb, RapiVersion version, RapiRequest& request)
{
    CFieldReader fields(p, cb);
    RapiRequest decoded;
    std::uint32_t nCode = 0;
    if (!fields.U32(nCode) || !CallOfCode(nCode, version, decoded.call))
        return false;
    if (!RequestLayout(fields, decoded, version) || !fields.AtEnd())
        return false;
    request = std::move(decoded);
    return true;
}

}   // namespace handheldwire
