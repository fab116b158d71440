#ifndef _MIME_TYPE_H
#define _MIME_TYPE_H

#include <string>

#include <StorageDefs.h>
#include <SupportDefs.h>

class BBitmap;
class BMessage;

enum icon_size {
	B_LARGE_ICON = 32,
	B_MINI_ICON = 16
};

enum app_verb {
	B_OPEN = 0
};

// A MIME type and its registration.
//
// Installing a type writes a shared-mime-info package
// ($XDG_DATA_HOME/mime/packages/<type with '/' as '-'>.xml: the type, its
// description and its extensions as glob patterns) and runs
// update-mime-database when it is present, so the desktop knows the type.
// Everything else (descriptions, preferred application, icons) is kept in
// this system's own store, one file per item in
// $XDG_DATA_HOME/vantumidi/mime/<type in lower case>/. As on the original
// platform, setting an item installs the type.
//
// Icons are stored as raw data (32 × 32 or 16 × 16 B_CMAP8 pixels, row by
// row). The BBitmap forms, SetIcon() and GetIcon(), are defined by the
// interface library, so this core class needs no graphics toolkit.
class BMimeType {
public:
							BMimeType();
							BMimeType(const char* mimeType);
	virtual					~BMimeType();

			status_t		SetTo(const char* mimeType);
			void			Unset();
			status_t		InitCheck() const;

			const char*		Type() const;
			bool			IsValid() const;
			bool			IsSupertypeOnly() const;

			bool			IsInstalled() const;
			status_t		Install();
			status_t		Delete();

			// The "extensions" string field, without leading dots.
			status_t		GetFileExtensions(BMessage* extensions) const;
			status_t		SetFileExtensions(const BMessage* extensions);

			// Buffers hold B_MIME_TYPE_LENGTH bytes.
			status_t		GetShortDescription(char* description) const;
			status_t		SetShortDescription(const char* description);
			status_t		GetLongDescription(char* description) const;
			status_t		SetLongDescription(const char* description);
			status_t		GetPreferredApp(char* signature,
								app_verb verb = B_OPEN) const;
			status_t		SetPreferredApp(const char* signature,
								app_verb verb = B_OPEN);

			// `*size` gives the buffer's capacity and receives the icon's
			// size; a buffer too small answers B_BAD_VALUE.
			status_t		GetIconData(void* buffer, size_t* size,
								icon_size which) const;
			status_t		SetIconData(const void* data, size_t size,
								icon_size which);

			// A B_CMAP8 bitmap as large as the icon; NULL removes the icon.
			status_t		SetIcon(const BBitmap* icon, icon_size which);
			// Into a bitmap as large as the icon, converting to its colour
			// space; B_BAD_DATA when the stored icon has the wrong length.
			status_t		GetIcon(BBitmap* icon, icon_size which) const;

	static	bool			IsValid(const char* mimeType);

			bool			operator==(const BMimeType& type) const;
			bool			operator==(const char* type) const;

private:
							BMimeType(const BMimeType&) = delete;
			BMimeType&		operator=(const BMimeType&) = delete;

			std::string		_StorePath() const;
			status_t		_Read(const char* item, std::string* value) const;
			status_t		_ReadString(const char* item, char* buffer) const;
			status_t		_Write(const char* item, const void* data,
								size_t size);
			status_t		_WriteString(const char* item,
								const char* value);
			status_t		_EnsureInstalled();
			status_t		_UpdatePackage() const;

			std::string		fType;
			status_t		fStatus;
};

#endif
