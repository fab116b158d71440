#ifndef _MEDIA_SESSION_QT_H
#define _MEDIA_SESSION_QT_H

// The D-Bus side of BMediaSession: one object on the GUI thread holding what
// the program set, exported at /org/mpris/MediaPlayer2 through the two
// adaptors of the media player interfaces.

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <MediaSession.h>

namespace BPrivate {

class MediaSessionObject : public QObject {
	Q_OBJECT
public:
	MediaSessionObject(const char* name, const char* identity, const char* desktopEntry,
		const BMessenger& target);
	virtual ~MediaSessionObject();

	bool Offered() const { return !fBusName.isEmpty(); }
	QString BusName() const { return fBusName; }

	// The program's side, on the GUI thread.
	void SetPlaybackStatus(media_playback_status status);
	void SetTrack(const BMediaSession::Track& track);
	void SetCapabilities(bool canPlay, bool canPause, bool canGoNext, bool canGoPrevious,
		bool canSeek);
	void SetPosition(bigtime_t position, double rate, bool jumped);

	// The adaptors' side.
	QString Identity() const { return fIdentity; }
	QString DesktopEntry() const { return fDesktopEntry; }
	QString PlaybackStatus() const;
	QVariantMap Metadata() const;
	qlonglong Position() const;
	double Rate() const { return fRate; }
	bool CanPlay() const { return fCanPlay; }
	bool CanPause() const { return fCanPause; }
	bool CanGoNext() const { return fCanGoNext; }
	bool CanGoPrevious() const { return fCanGoPrevious; }
	bool CanSeek() const { return fCanSeek; }
	void Post(uint32 what) const;
	void PostSeek(qlonglong offset) const;
	void PostSetPosition(const QDBusObjectPath& track, qlonglong position) const;

signals:
	void Seeked(qlonglong position);

private:
	bool _Connect();
	QDBusObjectPath _TrackPath() const;
	// Tells the desktop the new values of these properties of the player.
	void _PlayerChanged(const QVariantMap& changed);

	BMessenger fTarget;
	QString fName;
	QString fIdentity;
	QString fDesktopEntry;
	QString fConnectionName;
	QString fBusName;

	media_playback_status fStatus;
	BMediaSession::Track fTrack;
	bool fCanPlay;
	bool fCanPause;
	bool fCanGoNext;
	bool fCanGoPrevious;
	bool fCanSeek;
	// The position last set, when it was set, and how fast it moves on.
	bigtime_t fPosition;
	bigtime_t fPositionTime;
	double fMovingRate;
	// The playback rate shown, kept while the song stands.
	double fRate;
};


class MediaRootAdaptor : public QDBusAbstractAdaptor {
	Q_OBJECT
	Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
	Q_PROPERTY(bool CanQuit READ CanQuit)
	Q_PROPERTY(bool CanRaise READ CanRaise)
	Q_PROPERTY(bool HasTrackList READ HasTrackList)
	Q_PROPERTY(QString Identity READ Identity)
	Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
	Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
	Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
	explicit MediaRootAdaptor(MediaSessionObject* session);

	bool CanQuit() const { return false; }
	bool CanRaise() const { return true; }
	bool HasTrackList() const { return false; }
	QString Identity() const { return fSession->Identity(); }
	QString DesktopEntry() const { return fSession->DesktopEntry(); }
	QStringList SupportedUriSchemes() const { return {}; }
	QStringList SupportedMimeTypes() const { return {}; }

public slots:
	void Raise();
	// Refused by CanQuit: the program asks about unsaved lists first.
	void Quit() {}

private:
	MediaSessionObject* fSession;
};


class MediaPlayerAdaptor : public QDBusAbstractAdaptor {
	Q_OBJECT
	Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
	Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
	Q_PROPERTY(double Rate READ Rate)
	Q_PROPERTY(double MinimumRate READ MinimumRate)
	Q_PROPERTY(double MaximumRate READ MaximumRate)
	Q_PROPERTY(QVariantMap Metadata READ Metadata)
	Q_PROPERTY(double Volume READ Volume)
	Q_PROPERTY(qlonglong Position READ Position)
	Q_PROPERTY(bool CanGoNext READ CanGoNext)
	Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
	Q_PROPERTY(bool CanPlay READ CanPlay)
	Q_PROPERTY(bool CanPause READ CanPause)
	Q_PROPERTY(bool CanSeek READ CanSeek)
	Q_PROPERTY(bool CanControl READ CanControl)
public:
	explicit MediaPlayerAdaptor(MediaSessionObject* session);

	QString PlaybackStatus() const { return fSession->PlaybackStatus(); }
	double Rate() const { return fSession->Rate(); }
	// The tempo's range, 1 % to 100 times.
	double MinimumRate() const { return 0.01; }
	double MaximumRate() const { return 100.0; }
	QVariantMap Metadata() const { return fSession->Metadata(); }
	// The player's volume is its own slider's, not the desktop's.
	double Volume() const { return 1.0; }
	qlonglong Position() const { return fSession->Position(); }
	bool CanGoNext() const { return fSession->CanGoNext(); }
	bool CanGoPrevious() const { return fSession->CanGoPrevious(); }
	bool CanPlay() const { return fSession->CanPlay(); }
	bool CanPause() const { return fSession->CanPause(); }
	bool CanSeek() const { return fSession->CanSeek(); }
	bool CanControl() const { return true; }

public slots:
	void Play();
	void Pause();
	void PlayPause();
	void Stop();
	void Next();
	void Previous();
	void Seek(qlonglong Offset);
	void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
	// Opening a URI is not offered (no schemes are supported).
	void OpenUri(const QString&) {}

signals:
	void Seeked(qlonglong Position);

private:
	MediaSessionObject* fSession;
};

}

#endif
