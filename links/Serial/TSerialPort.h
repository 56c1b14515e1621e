// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct termios;

// One serial port with its line settings, written from the window thread and read by a
// thread of its own that hands each quiet-ended burst of input back to the window thread.
// Ports are numbered COM1..COM8 as operators know them; the device table says which device
// each number stands for on this machine.
class TSerialPort : public QObject {
    Q_OBJECT
public:
    enum TBaudRate {
        br110,
        br300,
        br600,
        br1200,
        br2400,
        br4800,
        br9600,
        br14400,
        br19200,
        br38400,
        br56000,
        br57600,
        br115200,
        br128000,
        br256000
    };
    enum TParity { pcNone, pcEven, pcOdd, pcMark, pcSpace };
    enum TStopBits { sbOne, sbOnePtFive, sbTwo };
    enum TDataBits { db4, db5, db6, db7, db8 };
    enum TFlowControl { fcNone, fcXON_XOFF, fcRTS_CTS, fsDSR_DTR };

    // Error stored when an operation needs an open port and there is none.
    static constexpr int kNotOpen = 999;

    explicit TSerialPort(QObject* parent = nullptr);
    ~TSerialPort() override;

    TBaudRate BaudRate = br9600;
    TParity ParityType = pcNone;
    bool ParityErrorChecking = false;
    bool ParityErrorReplacement = false;
    TStopBits StopBits = sbOne;
    TDataBits DataBits = db8;
    quint8 XONChar = 17;
    quint8 XOFFChar = 19;
    quint8 ErrorChar = 0;
    TFlowControl FlowControl = fcNone;
    bool StripNullChars = false;
    quint8 EOFChar = 0;
    quint16 WriteTO = 5000;

    // The device that COM (index + 1) stands for; index 0..7.
    void setDeviceTable(const std::array<QString, 8>& devices);
    QString devicePath(int index) const;

    // Opens COM (index + 1) exclusively and applies the settings; false when it cannot.
    bool Open(int index);
    bool Close();
    void PurgeInput();
    void PurgeOutput();
    bool ApplySettings();
    // The line settings above written into t (raw mode); false for a speed the line cannot
    // run at.
    bool fillTermios(termios& t) const;
    // Writes the whole block within writeAllowanceMs; false (and LastError) when it cannot.
    bool Write(const QByteArray& data);
    // The time one write of `bytes` may take: WriteTO plus the bytes' time at the line's
    // speed and frame format, plus a bounded hold-off when a handshake can pause the line.
    int writeAllowanceMs(qsizetype bytes) const;
    int LastError() const { return m_lastError.load(); }

    bool isOpen() const { return m_fd.load() >= 0; }
    // The receive thread is running.
    bool receiving() const { return m_running.load(); }
    static int baudValue(TBaudRate rate);

signals:
    void OnTransmit(const QString& data);
    void AfterTransmit(const QString& data);
    void OnReceive(const QString& data);
    void AfterReceive(const QString& data);
    // The same input as bytes, for readers of binary framing (KISS).
    void Received(const QByteArray& bytes);
    // The open device has gone (a USB adapter pulled, the other end of a pseudo-terminal
    // closed): the reader saw EIO, ENXIO, ENODEV, POLLHUP or POLLERR. Once per Open, on the
    // thread the port lives in.
    void DeviceLost(int error);

private:
    void receiveLoop();
    // Called by the receive thread with m_ioMutex held.
    void appendReceived(const char* buffer, qsizetype n, int& markState);
    void deliver();

    std::array<QString, 8> m_devices;
    std::atomic<int> m_fd{-1};
    std::atomic<int> m_lastError{0};

    // Held while the receive thread uses the descriptor, so Close never pulls it away
    // mid-read.
    std::mutex m_ioMutex;
    // Counts the Opens; guarded by m_ioMutex.
    quint64 m_session = 0;
    // Bytes read and not yet delivered; shared by both threads.
    std::mutex m_bufferMutex;
    QByteArray m_pending;

    std::mutex m_waitMutex;
    std::condition_variable m_wake;
    bool m_delivered = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::thread m_thread;
};
