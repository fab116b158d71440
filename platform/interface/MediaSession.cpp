#include "MediaSession.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QThread>

#include <Message.h>
#include <OS.h>

#include "MediaSessionQt.h"
#include "ViewQt.h"

namespace BPrivate {

namespace {

const char kObjectPath[] = "/org/mpris/MediaPlayer2";
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
const char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

}	// namespace


MediaSessionObject::MediaSessionObject(const char* name, const char* identity,
	const char* desktopEntry, const BMessenger& target)
	:
	fTarget(target),
	fName(QString::fromUtf8(name)),
	fIdentity(QString::fromUtf8(identity)),
	fDesktopEntry(QString::fromUtf8(desktopEntry)),
	fStatus(media_playback_status::Stopped),
	fCanPlay(false),
	fCanPause(false),
	fCanGoNext(false),
	fCanGoPrevious(false),
	fCanSeek(false),
	fPosition(0),
	fPositionTime(0),
	fMovingRate(0),
	fRate(1.0)
{
	new MediaRootAdaptor(this);
	new MediaPlayerAdaptor(this);
	if (!_Connect() && !fConnectionName.isEmpty())
		QDBusConnection::disconnectFromBus(fConnectionName);
}


MediaSessionObject::~MediaSessionObject()
{
	if (fConnectionName.isEmpty())
		return;
	QDBusConnection connection(fConnectionName);
	if (!fBusName.isEmpty()) {
		connection.unregisterObject(kObjectPath);
		connection.unregisterService(fBusName);
	}
	QDBusConnection::disconnectFromBus(fConnectionName);
}


bool
MediaSessionObject::_Connect()
{
	// Only a bus the session names: libdbus would try to start one on the
	// display when none is named, which is slow and noisy.
	const char* address = getenv("DBUS_SESSION_BUS_ADDRESS");
	if (address == NULL || address[0] == '\0')
		return false;
	fConnectionName = QStringLiteral("vantu-media-session-%1")
		.arg(quintptr(this), 0, 16);
	QDBusConnection connection = QDBusConnection::connectToBus(QString::fromUtf8(address),
		fConnectionName);
	if (!connection.isConnected())
		return false;
	if (!connection.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
		return false;
	const QString name = QStringLiteral("org.mpris.MediaPlayer2.") + fName;
	// A second instance (another user's session sharing the bus, or a run
	// with its own settings) is offered beside the first one.
	const QString names[] = {name,
		name + QStringLiteral(".instance%1").arg(qint64(getpid()))};
	for (const QString& candidate : names) {
		if (connection.registerService(candidate)) {
			fBusName = candidate;
			return true;
		}
	}
	connection.unregisterObject(kObjectPath);
	return false;
}


void
MediaSessionObject::SetPlaybackStatus(media_playback_status status)
{
	if (status == fStatus)
		return;
	fStatus = status;
	_PlayerChanged({{QStringLiteral("PlaybackStatus"), PlaybackStatus()}});
}


void
MediaSessionObject::SetTrack(const BMediaSession::Track& track)
{
	if (track.id == fTrack.id && track.title == fTrack.title && track.length == fTrack.length)
		return;
	fTrack = track;
	_PlayerChanged({{QStringLiteral("Metadata"), Metadata()}});
}


void
MediaSessionObject::SetCapabilities(bool canPlay, bool canPause, bool canGoNext,
	bool canGoPrevious, bool canSeek)
{
	QVariantMap changed;
	const std::pair<bool*, bool> values[] = {{&fCanPlay, canPlay}, {&fCanPause, canPause},
		{&fCanGoNext, canGoNext}, {&fCanGoPrevious, canGoPrevious}, {&fCanSeek, canSeek}};
	const char* const names[] = {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious",
		"CanSeek"};
	for (size_t i = 0; i < std::size(values); i++) {
		if (*values[i].first != values[i].second) {
			*values[i].first = values[i].second;
			changed.insert(QString::fromLatin1(names[i]), values[i].second);
		}
	}
	_PlayerChanged(changed);
}


void
MediaSessionObject::SetPosition(bigtime_t position, double rate, bool jumped)
{
	fPosition = std::max<bigtime_t>(position, 0);
	fPositionTime = system_time();
	fMovingRate = std::max(rate, 0.0);
	if (rate > 0 && rate != fRate) {
		fRate = rate;
		_PlayerChanged({{QStringLiteral("Rate"), fRate}});
	}
	if (jumped && Offered())
		emit Seeked(fPosition);
}


QString
MediaSessionObject::PlaybackStatus() const
{
	switch (fStatus) {
		case media_playback_status::Playing:
			return QStringLiteral("Playing");
		case media_playback_status::Paused:
			return QStringLiteral("Paused");
		default:
			return QStringLiteral("Stopped");
	}
}


QDBusObjectPath
MediaSessionObject::_TrackPath() const
{
	if (fTrack.id == 0)
		return QDBusObjectPath(QString::fromLatin1(kNoTrack));
	return QDBusObjectPath(QStringLiteral("/%1/track/%2").arg(fName).arg(fTrack.id));
}


QVariantMap
MediaSessionObject::Metadata() const
{
	QVariantMap metadata;
	metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(_TrackPath()));
	if (fTrack.id == 0)
		return metadata;
	metadata.insert(QStringLiteral("xesam:title"), QString::fromStdString(fTrack.title));
	if (fTrack.length > 0)
		metadata.insert(QStringLiteral("mpris:length"), qlonglong(fTrack.length));
	return metadata;
}


qlonglong
MediaSessionObject::Position() const
{
	bigtime_t position = fPosition;
	if (fMovingRate > 0)
		position += bigtime_t((system_time() - fPositionTime) * fMovingRate);
	if (fTrack.length > 0)
		position = std::min(position, fTrack.length);
	return position;
}


void
MediaSessionObject::Post(uint32 what) const
{
	fTarget.SendMessage(what);
}


void
MediaSessionObject::PostSeek(qlonglong offset) const
{
	BMessage message(B_MEDIA_SEEK_REQUESTED);
	message.AddInt64("offset", offset);
	fTarget.SendMessage(&message);
}


// A position meant for a song that has gone since is ignored, as the
// interface asks.
void
MediaSessionObject::PostSetPosition(const QDBusObjectPath& track, qlonglong position) const
{
	if (fTrack.id == 0 || track != _TrackPath() || position < 0
		|| (fTrack.length > 0 && position > fTrack.length)) {
		return;
	}
	BMessage message(B_MEDIA_SET_POSITION_REQUESTED);
	message.AddInt64("position", position);
	fTarget.SendMessage(&message);
}


void
MediaSessionObject::_PlayerChanged(const QVariantMap& changed)
{
	if (changed.isEmpty() || !Offered())
		return;
	QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
		QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
	signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
	QDBusConnection(fConnectionName).send(signal);
}


MediaRootAdaptor::MediaRootAdaptor(MediaSessionObject* session)
	:
	QDBusAbstractAdaptor(session),
	fSession(session)
{
}


void
MediaRootAdaptor::Raise()
{
	fSession->Post(B_MEDIA_RAISE_REQUESTED);
}


MediaPlayerAdaptor::MediaPlayerAdaptor(MediaSessionObject* session)
	:
	QDBusAbstractAdaptor(session),
	fSession(session)
{
	connect(session, &MediaSessionObject::Seeked, this, &MediaPlayerAdaptor::Seeked);
}


void MediaPlayerAdaptor::Play() { fSession->Post(B_MEDIA_PLAY_REQUESTED); }
void MediaPlayerAdaptor::Pause() { fSession->Post(B_MEDIA_PAUSE_REQUESTED); }
void MediaPlayerAdaptor::PlayPause() { fSession->Post(B_MEDIA_PLAY_PAUSE_REQUESTED); }
void MediaPlayerAdaptor::Stop() { fSession->Post(B_MEDIA_STOP_REQUESTED); }
void MediaPlayerAdaptor::Next() { fSession->Post(B_MEDIA_NEXT_REQUESTED); }
void MediaPlayerAdaptor::Previous() { fSession->Post(B_MEDIA_PREVIOUS_REQUESTED); }
void MediaPlayerAdaptor::Seek(qlonglong Offset) { fSession->PostSeek(Offset); }


void
MediaPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position)
{
	fSession->PostSetPosition(TrackId, Position);
}

}	// namespace BPrivate


using BPrivate::MediaSessionObject;

struct BMediaSession::Data {
	// Deleted on the GUI thread only; the setters' queued calls die with it.
	MediaSessionObject* object = nullptr;

	// Runs `call` with the object on the GUI thread: at once when called
	// there, else queued after the calls before it.
	template<typename Call>
	void Run(Call call)
	{
		if (QThread::currentThread() == object->thread()) {
			call(object);
			return;
		}
		MediaSessionObject* target = object;
		QMetaObject::invokeMethod(object, [target, call]() { call(target); },
			Qt::QueuedConnection);
	}
};


BMediaSession::BMediaSession(const char* name, const char* identity,
	const char* desktopEntry, const BMessenger& target)
	:
	fData(std::make_unique<Data>())
{
	// The player makes and ends its session on its window's thread: the
	// object and its bus connection belong to the GUI thread all their life.
	fData->object = BPrivate::run_on_gui_thread([&] {
		return new MediaSessionObject(name, identity, desktopEntry, target);
	});
}


BMediaSession::~BMediaSession()
{
	MediaSessionObject* object = fData->object;
	BPrivate::run_on_gui_thread([object] { delete object; });
}


status_t
BMediaSession::InitCheck() const
{
	return fData->object->Offered() ? B_OK : B_NO_INIT;
}


std::string
BMediaSession::BusName() const
{
	return fData->object->BusName().toStdString();
}


void
BMediaSession::SetPlaybackStatus(media_playback_status status)
{
	fData->Run([status](MediaSessionObject* object) { object->SetPlaybackStatus(status); });
}


void
BMediaSession::SetTrack(const Track& track)
{
	fData->Run([track](MediaSessionObject* object) { object->SetTrack(track); });
}


void
BMediaSession::SetCapabilities(bool canPlay, bool canPause, bool canGoNext,
	bool canGoPrevious, bool canSeek)
{
	fData->Run([=](MediaSessionObject* object) {
		object->SetCapabilities(canPlay, canPause, canGoNext, canGoPrevious, canSeek);
	});
}


void
BMediaSession::SetPosition(bigtime_t position, double rate, bool jumped)
{
	fData->Run([=](MediaSessionObject* object) {
		object->SetPosition(position, rate, jumped);
	});
}
